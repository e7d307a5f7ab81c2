// Dear ImGui's GL back end for the dialogs: the OpenGL 2 one, or the OpenGL ES 3 one where the show
// draws through the fixed-function layer. Each call acts on the current dialog context.
#pragma once

struct ImDrawData;

bool StartDialogRenderer();
void StopDialogRenderer();
void BeginDialogRendererFrame();
void RenderDialogDrawData(ImDrawData* data);
