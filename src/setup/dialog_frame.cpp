// The ImGui side of the dialogs: window, fonts, input and the template's controls. Besides the
// platform layer this is the one place that talks to SDL (through ImGui's SDL back end).
#include "setup/dialog_frame.h"

#include "gfx/gl.h"
#include "platform/dialog_renderer.h"
#include "platform/dialog_window.h"
#include "platform/signals.h"
#include "platform/window.h"
#include "setup/icon_picture.h"

#include <SDL2/SDL.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cfloat>
#include <cstdint>
#include <cstdio>

// A quit request closes every open dialog, the one beneath a modal one too.
static bool QuitSeen = false;
static int OpenFrames = 0;

static const char* const kDialogFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The templates' font is 8 pt, a 13-pixel cell at 96 dots per inch.
static const float kCellPixels = 13.0f;

static void LoadDialogFont(float scale) {
    ImGuiIO& io = ImGui::GetIO();
    FILE* probe = fopen(kDialogFont, "rb");
    if (probe) {
        fclose(probe);
        io.Fonts->AddFontFromFileTTF(kDialogFont, kCellPixels * scale);
    } else {
        ImFontConfig config;
        config.SizePixels = kCellPixels * scale;
        io.Fonts->AddFontDefault(&config);
    }
    io.Fonts->Build();
}

// Dialog units from the font as the dialog manager measures them: a quarter of the average
// letter width across, an eighth of the cell height down.
static void MeasureDialogUnits(DialogFrame* frame) {
    ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    float width = font->CalcTextSizeA(font->FontSize, 10000, 0, letters).x;
    frame->dluX = width / 52.0f / 4.0f;
    frame->dluY = font->FontSize / 8.0f;
}

static void SetDialogStyle(float scale) {
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0;
    style.WindowBorderSize = 0;
    style.FrameRounding = 2 * scale;
    style.FrameBorderSize = 1;
    style.FramePadding = ImVec2(4 * scale, 2 * scale);
    style.ItemSpacing = ImVec2(4 * scale, 0);
    style.Colors[ImGuiCol_WindowBg] = ImVec4(0.93f, 0.93f, 0.94f, 1);
    style.Colors[ImGuiCol_Button] = ImVec4(0.87f, 0.88f, 0.90f, 1);
    style.Colors[ImGuiCol_FrameBg] = ImVec4(1, 1, 1, 1);
}

bool OpenDialogFrame(DialogFrame* frame, const char* caption, int widthDlu, int heightDlu) {
    if (!StartVideo()) return false;  // the display is asked for its density first
    float scale = DisplayScale();
    frame->context = ImGui::CreateContext();
    ImGui::SetCurrentContext(frame->context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // the dialogs remember nothing between runs
    io.LogFilename = nullptr;
    LoadDialogFont(scale);
    MeasureDialogUnits(frame);
    SetDialogStyle(scale);
    int width = (int)(widthDlu * frame->dluX + 0.5f), height = (int)(heightDlu * frame->dluY + 0.5f);
    frame->window = OpenDialogWindow(caption, width, height);
    StopVideo();  // the window holds the video subsystem from here on
    if (!frame->window) {
        ImGui::DestroyContext(frame->context);
        frame->context = nullptr;
        return false;
    }
    ImGui_ImplSDL2_InitForOpenGL(PlatformSdlWindow(frame->window), nullptr);
    StartDialogRenderer();
    frame->focus = 0;
    frame->closeRequested = frame->closePopup = false;
    frame->keyCount = 0;
    frame->iconTexture = 0;
    ++OpenFrames;
    return true;
}

void CloseDialogFrame(DialogFrame* frame) {
    if (!frame->context) return;
    SelectDialogFrame(frame);
    if (frame->iconTexture) glDeleteTextures(1, &frame->iconTexture);
    frame->iconTexture = 0;
    StopDialogRenderer();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(frame->context);
    frame->context = nullptr;
    CloseDialogWindow(frame->window);
    frame->window = nullptr;
    if (--OpenFrames == 0) QuitSeen = false;
}

void ShowDialogFrame(DialogFrame* frame) { ShowDialogWindow(frame->window); }

void SelectDialogFrame(DialogFrame* frame) {
    ImGui::SetCurrentContext(frame->context);
    MakeDialogWindowCurrent(frame->window);
}

// The window an input event belongs to; 0 for events of no window.
static Uint32 EventWindow(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT: return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    default: return 0;
    }
}

// Key presses are kept as they come, each handled once in its turn: ImGui's own key state
// forgets keys when the window loses the focus, and a quick press and release can fall within
// one frame.
static void QueueKey(DialogFrame* frame, const SDL_KeyboardEvent& key) {
    if (frame->keyCount >= kDialogKeyQueue) return;
    frame->keys[frame->keyCount++] = {(int)key.keysym.scancode, (key.keysym.mod & KMOD_SHIFT) != 0,
                                      (key.keysym.mod & KMOD_ALT) != 0};
}

// Input for other windows is dropped: the dialog is modal over the one beneath it.
static void TakeEvent(DialogFrame* frame, const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        QuitSeen = true;
        return;
    }
    if (EventWindow(event) != DialogWindowId(frame->window)) return;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) frame->closeRequested = true;
    if (event.type == SDL_KEYDOWN) QueueKey(frame, event.key);
    ImGui_ImplSDL2_ProcessEvent(&event);
}

// Polls for up to 50 ms rather than blocking in SDL_WaitEventTimeout: while SDL 2.26 waits, an
// event it posts (a close request, say) wakes it through a second X connection aimed at the
// dialog window, and when that window is destroyed first the X error ends the process with
// exit code 1 as SDL shuts down.
static void PumpDialogEvents(DialogFrame* frame) {
    SDL_Event event;
    bool any = false;
    for (int waited = 0; !any && waited < 50; waited += 5) {
        while (SDL_PollEvent(&event)) {
            TakeEvent(frame, event);
            any = true;
        }
        if (!any) SDL_Delay(5);
    }
    if (QuitSeen || TerminationRequested()) frame->closeRequested = true;
}

static void MoveFocus(DialogFrame* frame, int step) {
    if (frame->controlCount > 0) frame->focus = (frame->focus + step + frame->controlCount) % frame->controlCount;
}

// Space on the focused control, or its Alt letter: buttons press, check boxes toggle.
static void Activate(const DialogControl& control, DialogKeys* keys) {
    if (control.kind == kDialogButton) keys->pressId = control.id;
    if (control.kind == kDialogCheckBox) keys->toggleId = control.id;
}

static void ReadAccelerator(DialogFrame* frame, int scancode, DialogKeys* keys) {
    for (int i = 0; i < frame->controlCount; ++i) {
        char letter = frame->controls[i].accelerator;
        if (letter < 'A' || letter > 'Z' || scancode != SDL_SCANCODE_A + (letter - 'A')) continue;
        frame->focus = i;
        Activate(frame->controls[i], keys);
        return;
    }
}

static void ReadKey(DialogFrame* frame, const DialogKey& key, DialogKeys* keys) {
    const DialogControl& focused = frame->controls[frame->focus];
    const int up = key.scancode == SDL_SCANCODE_UP || key.scancode == SDL_SCANCODE_LEFT;
    const int down = key.scancode == SDL_SCANCODE_DOWN || key.scancode == SDL_SCANCODE_RIGHT;
    if (key.alt) {
        ReadAccelerator(frame, key.scancode, keys);
    } else if (key.scancode == SDL_SCANCODE_TAB) {
        MoveFocus(frame, key.shift ? -1 : 1);
    } else if (key.scancode == SDL_SCANCODE_ESCAPE) {
        keys->pressId = frame->cancelId;
    } else if (key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER) {
        keys->pressId = focused.kind == kDialogButton ? focused.id : frame->defaultId;
    } else if (key.scancode == SDL_SCANCODE_SPACE) {
        Activate(focused, keys);
    } else if ((up || down) && focused.kind == kDialogList) {
        keys->listId = focused.id;
        keys->listDelta = down - up;
    } else if (up || down) {
        MoveFocus(frame, down - up);
    }
}

// Takes queued keys in order up to the first that asks for something; the rest wait for the
// next frame, after that request has been handled.
static DialogKeys ReadDialogKeys(DialogFrame* frame) {
    DialogKeys keys = {0, 0, 0, 0};
    if (frame->closeRequested) {
        frame->closeRequested = false;
        frame->keyCount = 0;
        keys.pressId = frame->cancelId;
        return keys;
    }
    if (ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId) || frame->controlCount == 0) {
        // An open drop-down list takes the mouse; Escape closes it.
        for (int i = 0; i < frame->keyCount; ++i)
            if (frame->keys[i].scancode == SDL_SCANCODE_ESCAPE) frame->closePopup = true;
        frame->keyCount = 0;
        return keys;
    }
    int taken = 0;
    while (taken < frame->keyCount && !keys.pressId && !keys.toggleId && !keys.listId)
        ReadKey(frame, frame->keys[taken++], &keys);
    for (int i = taken; i < frame->keyCount; ++i) frame->keys[i - taken] = frame->keys[i];
    frame->keyCount -= taken;
    return keys;
}

static void BeginCanvas() {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    ImGui::Begin("##dialog", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                     ImGuiWindowFlags_NoBringToFrontOnFocus);
}

DialogKeys BeginDialogFrame(DialogFrame* frame) {
    SelectDialogFrame(frame);
    PumpDialogEvents(frame);
    BeginDialogRendererFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    DialogKeys keys = ReadDialogKeys(frame);
    BeginCanvas();
    return keys;
}

void BeginPaintOnlyFrame(DialogFrame* frame) {
    SelectDialogFrame(frame);
    BeginDialogRendererFrame();
    ImGui::GetIO().MousePos = ImVec2(-FLT_MAX, -FLT_MAX);  // nothing hovers under a modal dialog
    ImGui::NewFrame();
    BeginCanvas();
}

static DialogCapture* PendingCapture = nullptr;

void CaptureNextDialogFrame(DialogCapture* capture) { PendingCapture = capture; }

static void TakeCapture(int width, int height) {
    DialogCapture* capture = PendingCapture;
    PendingCapture = nullptr;
    capture->width = capture->height = 0;
    if (width <= 0 || height <= 0 || (long)width * height * 3 > capture->capacity) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, capture->rgb);
    // GL's rows run bottom-up; pictures run top-down.
    for (int y = 0; y < height / 2; ++y) {
        unsigned char* a = capture->rgb + (long)y * width * 3;
        unsigned char* b = capture->rgb + (long)(height - 1 - y) * width * 3;
        for (int i = 0; i < width * 3; ++i) {
            unsigned char t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
    capture->width = width;
    capture->height = height;
}

void EndDialogFrame(DialogFrame* frame) {
    ImGui::End();
    ImGui::PopStyleVar();
    ImGui::Render();
    ImGuiIO& io = ImGui::GetIO();
    int width = (int)(io.DisplaySize.x * io.DisplayFramebufferScale.x);
    int height = (int)(io.DisplaySize.y * io.DisplayFramebufferScale.y);
    glViewport(0, 0, width, height);
    ImVec4 background = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    glClearColor(background.x, background.y, background.z, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    RenderDialogDrawData(ImGui::GetDrawData());
    if (PendingCapture) TakeCapture(width, height);
    SwapWindowBuffers(frame->window);
}

static ImVec2 Dlu(const DialogFrame* frame, float x, float y) { return ImVec2(x * frame->dluX, y * frame->dluY); }

// The focus shows as a thin frame around the control; a click moves it there.
static void FollowFocus(DialogFrame* frame, int tab) {
    if (tab < 0) return;
    if (ImGui::IsItemActivated() || ImGui::IsItemClicked()) frame->focus = tab;
    if (frame->focus != tab) return;
    ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    ImGui::GetWindowDrawList()->AddRect(ImVec2(a.x - 2, a.y - 2), ImVec2(b.x + 2, b.y + 2),
                                        IM_COL32(40, 90, 170, 255), 2.0f, 0, 1.5f);
}

void DialogGroupBox(DialogFrame* frame, const char* label, int x, int y, int w, int h) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    ImVec2 origin = ImGui::GetWindowPos();
    ImVec2 a = Dlu(frame, (float)x, (float)y), b = Dlu(frame, (float)(x + w), (float)(y + h));
    float half = ImGui::GetFontSize() * 0.5f;
    ImVec2 textPos(origin.x + a.x + 6 * frame->dluX, origin.y + a.y);
    ImVec2 textSize = ImGui::CalcTextSize(label);
    draw->AddRect(ImVec2(origin.x + a.x, origin.y + a.y + half), ImVec2(origin.x + b.x, origin.y + b.y),
                  IM_COL32(160, 163, 170, 255), 3.0f);
    // The caption interrupts the frame's top edge.
    draw->AddRectFilled(ImVec2(textPos.x - 3, textPos.y), ImVec2(textPos.x + textSize.x + 3, textPos.y + textSize.y),
                        ImGui::GetColorU32(ImGuiCol_WindowBg));
    draw->AddText(textPos, ImGui::GetColorU32(ImGuiCol_Text), label);
}

void DialogText(DialogFrame* frame, const char* text, int x, int y) {
    ImGui::SetCursorPos(Dlu(frame, (float)x, (float)y));
    ImGui::TextUnformatted(text);
}

// "&Run" shows as "Run" with the R underlined; returns the index of the underlined letter or -1.
static int StripAccelerator(const char* label, char* shown, int size) {
    int n = 0, mark = -1;
    for (const char* p = label; *p && n < size - 1; ++p) {
        if (*p == '&' && p[1]) {
            mark = n;
            continue;
        }
        shown[n++] = *p;
    }
    shown[n] = 0;
    return mark;
}

static void UnderlineLetter(const char* shown, int mark) {
    if (mark < 0) return;
    ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    ImVec2 size = ImGui::CalcTextSize(shown);
    float left = a.x + (b.x - a.x - size.x) * 0.5f + ImGui::CalcTextSize(shown, shown + mark).x;
    float right = left + ImGui::CalcTextSize(shown + mark, shown + mark + 1).x;
    float base = a.y + (b.y - a.y + size.y) * 0.5f - 1;
    ImGui::GetWindowDrawList()->AddLine(ImVec2(left, base), ImVec2(right, base), ImGui::GetColorU32(ImGuiCol_Text));
}

bool DialogButton(DialogFrame* frame, int tab, const char* label, int x, int y, int w, int h) {
    char shown[64];
    int mark = StripAccelerator(label, shown, sizeof shown);
    ImGui::SetCursorPos(Dlu(frame, (float)x, (float)y));
    bool clicked = ImGui::Button(shown, Dlu(frame, (float)w, (float)h));
    UnderlineLetter(shown, mark);
    // The default button (the one Enter presses) wears a darker frame.
    if (tab >= 0 && frame->controls[tab].id == frame->defaultId)
        ImGui::GetWindowDrawList()->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(),
                                            IM_COL32(60, 64, 72, 255), ImGui::GetStyle().FrameRounding, 0, 1.5f);
    FollowFocus(frame, tab);
    return clicked;
}

bool DialogCheckBox(DialogFrame* frame, int tab, const char* label, bool* value, int x, int y, int, int h) {
    // The box is as tall as the text; it sits centred in the template's row.
    float row = h * frame->dluY, box = ImGui::GetFontSize();
    ImGui::SetCursorPos(ImVec2(x * frame->dluX, y * frame->dluY + (row - box) * 0.5f));
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(0, 0));
    bool changed = ImGui::Checkbox(label, value);
    ImGui::PopStyleVar();
    FollowFocus(frame, tab);
    return changed;
}

bool DialogListBox(DialogFrame* frame, int tab, DialogItemText text, int count, int* selection,
                   bool scrollToSelection, int x, int y, int w, int h) {
    bool changed = false;
    ImGui::SetCursorPos(Dlu(frame, (float)x, (float)y));
    ImGui::PushID(tab);
    if (ImGui::BeginListBox("##list", Dlu(frame, (float)w, (float)h))) {
        for (int i = 0; i < count; ++i) {
            ImGui::PushID(i);  // a mode reported twice must still be its own entry
            bool selected = i == *selection;
            if (ImGui::Selectable(text(i), selected)) {
                changed = *selection != i;
                *selection = i;
                if (tab >= 0) frame->focus = tab;
            }
            if (selected && scrollToSelection) ImGui::SetScrollHereY(0.5f);
            ImGui::PopID();
        }
        ImGui::EndListBox();
    }
    ImGui::PopID();
    FollowFocus(frame, tab);
    return changed;
}

bool DialogDropDown(DialogFrame* frame, int tab, DialogItemText text, int count, int* selection, bool enabled,
                    int x, int y, int w) {
    bool picked = false;
    ImGui::SetCursorPos(Dlu(frame, (float)x, (float)y));
    ImGui::SetNextItemWidth(w * frame->dluX);
    ImGui::PushID(tab);
    ImGui::BeginDisabled(!enabled);
    const char* preview = *selection >= 0 && *selection < count ? text(*selection) : "";
    if (ImGui::BeginCombo("##drop", preview, ImGuiComboFlags_HeightLarge)) {
        if (tab >= 0) frame->focus = tab;
        if (frame->closePopup) ImGui::CloseCurrentPopup();
        frame->closePopup = false;
        for (int i = 0; i < count; ++i) {
            ImGui::PushID(i);
            bool selected = i == *selection;
            if (ImGui::Selectable(text(i), selected)) {
                *selection = i;
                picked = true;
            }
            if (selected) ImGui::SetItemDefaultFocus();
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
    ImGui::EndDisabled();
    ImGui::PopID();
    FollowFocus(frame, tab);
    return picked;
}

// The icon's pixels as a texture of the frame's GL context.
static unsigned MakeIconTexture() {
    static unsigned char pixels[kIconPictureSide * kIconPictureSide * 3];
    PaintIconPicture(pixels, kIconPictureSide);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kIconPictureSide, kIconPictureSide, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    return texture;
}

void DialogIcon(DialogFrame* frame, int x, int y, int w, int h) {
    if (!frame->iconTexture) frame->iconTexture = MakeIconTexture();
    ImVec2 origin = ImGui::GetWindowPos();
    ImVec2 a = Dlu(frame, (float)x, (float)y), b = Dlu(frame, (float)(x + w), (float)(y + h));
    float side = (b.x - a.x) < (b.y - a.y) ? (b.x - a.x) : (b.y - a.y);
    ImVec2 p(origin.x + a.x, origin.y + a.y), q(p.x + side, p.y + side);
    ImGui::GetWindowDrawList()->AddImage((ImTextureID)(intptr_t)frame->iconTexture, p, q);
}

int MoveSelection(int selection, int delta, int count) {
    if (count <= 0) return -1;
    if (selection < 0) return 0;
    int moved = selection + delta;
    return moved < 0 ? 0 : (moved >= count ? count - 1 : moved);
}
