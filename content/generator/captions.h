// The show's lettering: caption panels, loading picture, end scroll, crew logo and the
// glowing title letters.
#pragma once

#include <map>
#include <string>
#include <vector>

typedef std::map<std::string, std::vector<std::string>> TextTable;

bool WriteCaptions(const TextTable& texts);
bool WriteTitlePictures(const TextTable& texts);
