// Where the entries go: every writer names its entry here, so the generator can compare what
// it wrote with the package's entry list.
#pragma once

#include "model.h"
#include "picture.h"

#include <map>
#include <string>
#include <vector>

void SetOutputFolder(const std::string& folder);
bool EmitPicture(const std::string& entry, const Picture& picture);
bool EmitModel(const std::string& entry, const Model& model);
bool EmitBytes(const std::string& entry, const std::vector<unsigned char>& bytes);
const std::vector<std::string>& EmittedEntries();

// The editable texts (captions, credits, scroller line): "key = line | line" per line,
// '#' starts a comment. Returns false with a message when the file cannot be read.
bool ReadTexts(const std::string& path, std::map<std::string, std::vector<std::string>>& texts);
// Reads a list of entry names, one a line ('#' comments and blank lines skipped).
bool ReadEntryList(const std::string& path, std::vector<std::string>& names);
