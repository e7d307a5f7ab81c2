#include "gfx/picture_area.h"

#include "gfx/gl.h"
#include "gfx/offscreen.h"

#include <cmath>

static bool Placed = false;  // a context exists and the picture has been placed in it
static int DrawableWidth = 0, DrawableHeight = 0;
static PictureRect Area = {0, 0, 0, 0};
static int DrawWidth = 0, DrawHeight = 0;  // 0: the area's own size
static bool Offscreen = false;
static bool Hidden = false;

PictureRect FitPictureArea(int width, int height) {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    PictureRect r;
    if (width * 3 >= height * 4) {
        r.height = height;
        r.width = (int)lround(height * kPictureAspect);
    } else {
        r.width = width;
        r.height = (int)lround(width / kPictureAspect);
    }
    if (r.width < 1) r.width = 1;
    if (r.height < 1) r.height = 1;
    if (r.width > width) r.width = width;
    if (r.height > height) r.height = height;
    r.x = (width - r.width) / 2;
    r.y = (height - r.height) / 2;
    return r;
}

PictureRect PictureArea() { return Area; }
bool PictureDrawnOffscreen() { return Offscreen; }

PictureRect PictureDrawTarget() { return Offscreen ? PictureRect{0, 0, DrawWidth, DrawHeight} : Area; }

static void ApplyTarget() {
    const PictureRect t = PictureDrawTarget();
    glViewport(t.x, t.y, t.width, t.height);
    if (Hidden) glScissor(0, 0, 0, 0);
    else glScissor(t.x, t.y, t.width, t.height);  // points and wide lines never reach the bars
    glEnable(GL_SCISSOR_TEST);
}

static void ClearRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    glScissor(x, y, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The strips of the drawable outside the area; the frame's own clear covers only the area.
static void ClearBars() {
    const PictureRect& a = Area;
    glEnable(GL_SCISSOR_TEST);
    ClearRect(0, 0, a.x, DrawableHeight);
    ClearRect(a.x + a.width, 0, DrawableWidth - a.x - a.width, DrawableHeight);
    ClearRect(a.x, 0, a.width, a.y);
    ClearRect(a.x, a.y + a.height, a.width, DrawableHeight - a.y - a.height);
}

void PlacePicture(int drawableWidth, int drawableHeight) {
    Placed = true;
    DrawableWidth = drawableWidth;
    DrawableHeight = drawableHeight;
    Area = FitPictureArea(drawableWidth, drawableHeight);
    Offscreen = DrawWidth > 0 && DrawWidth < Area.width && PrepareOffscreen(DrawWidth, DrawHeight);
    // Mid-frame (F11 pumped while loading) the framebuffer is still bound, and no end of frame
    // would let go of it: the rest of this frame and every later one go to the window.
    if (!Offscreen) BindOffscreen(false);
    ApplyTarget();
}

void SetPictureDrawSize(int width, int height) {
    if (width > 0 && height > 0) {
        const PictureRect part = FitPictureArea(width, height);
        DrawWidth = part.width;
        DrawHeight = part.height;
    } else {
        DrawWidth = DrawHeight = 0;
    }
    if (Placed) PlacePicture(DrawableWidth, DrawableHeight);
}

void SetPictureHidden(bool hidden) { Hidden = hidden; }

void BeginPictureFrame() {
    if (!Placed) return;
    if (Offscreen) BindOffscreen(true);
    else if (!Hidden) ClearBars();
    ApplyTarget();
}

void EndPictureFrame() {
    if (!Placed || !Offscreen) return;
    if (Hidden) return BindOffscreen(false);  // a hidden frame's picture goes nowhere
    BlitOffscreen(Area.x, Area.y, Area.width, Area.height);
    ClearBars();
}

bool DrawPictureFrame(bool (*render)()) {
    BeginPictureFrame();
    const bool going = render();
    EndPictureFrame();
    return going;
}

void ReleasePicture() {
    Placed = false;
    Offscreen = false;
    ForgetOffscreen();
}
