#include "platform/dialog_renderer.h"

#if KAMORA_GLES
#include <backends/imgui_impl_opengl3.h>

bool StartDialogRenderer() { return ImGui_ImplOpenGL3_Init("#version 300 es"); }
void StopDialogRenderer() { ImGui_ImplOpenGL3_Shutdown(); }
void BeginDialogRendererFrame() { ImGui_ImplOpenGL3_NewFrame(); }
void RenderDialogDrawData(ImDrawData* data) { ImGui_ImplOpenGL3_RenderDrawData(data); }
#else
#include <backends/imgui_impl_opengl2.h>

bool StartDialogRenderer() { return ImGui_ImplOpenGL2_Init(); }
void StopDialogRenderer() { ImGui_ImplOpenGL2_Shutdown(); }
void BeginDialogRendererFrame() { ImGui_ImplOpenGL2_NewFrame(); }
void RenderDialogDrawData(ImDrawData* data) { ImGui_ImplOpenGL2_RenderDrawData(data); }
#endif
