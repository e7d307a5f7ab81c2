// The title "Ka Mora" assembling letter by letter over a wave backdrop.
#pragma once

bool LoadTitleLetters();
void DrawTitleLetters(int now);
void UnloadTitleLetters();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetTitleLetters();
