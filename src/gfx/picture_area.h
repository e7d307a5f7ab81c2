// The picture area: the largest 4:3 rectangle centred in the window's drawable. The show draws
// only inside it, with a 4:3 projection whatever the window's shape; outside it the frame is
// cleared black. Every pixel inside is what a 4:3 window of the area's size would show.
//
// The picture is drawn at the area's size, or, when a smaller draw size is asked for (a full
// screen at a lower picked mode), at that size off screen and scaled up into the area.
#pragma once

// The aspect of every projection of the show.
constexpr double kPictureAspect = 4.0 / 3.0;

struct PictureRect {
    int x, y, width, height;  // in drawable pixels, y from the bottom
};

// The largest centred 4:3 rectangle of a width x height drawable (at least 1 x 1).
PictureRect FitPictureArea(int width, int height);

// Places the picture in a drawable of this size: viewport and scissor. Called by ResizeViewport.
void PlacePicture(int drawableWidth, int drawableHeight);
// The size to draw the picture at (0 x 0: the area's own size). Drawn off screen and scaled up
// when it is smaller than the area and the driver can; natively otherwise. Takes effect at once.
void SetPictureDrawSize(int width, int height);

// While hidden, frames are drawn exactly as when seen but their pixels go nowhere: the scissor
// is empty (so even the clears cost nothing), the bars are left and nothing is scaled. The
// toolbox draws the frames before the first one it keeps so, which makes a seek cost the same at
// any size.
void SetPictureHidden(bool hidden);

// Around each frame: the begin routine binds where the show draws (and clears the bars), the end
// routine scales an offscreen picture into the area. Safe without a window.
void BeginPictureFrame();
void EndPictureFrame();
// One frame: `render` (the show's frame routine) between the two; returns what `render` returns.
bool DrawPictureFrame(bool (*render)());

// The context is about to go: nothing is drawn off screen any more until the next PlacePicture.
void ReleasePicture();

PictureRect PictureArea();        // where the picture lies in the drawable
PictureRect PictureDrawTarget();  // where it is drawn: the area, or (0, 0, w, h) off screen
bool PictureDrawnOffscreen();
