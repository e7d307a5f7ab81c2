// The title "Ka Mora" assembling letter by letter over a wave backdrop.
#pragma once

bool LoadTitleLetters();
void DrawTitleLetters(int now);
void UnloadTitleLetters();
