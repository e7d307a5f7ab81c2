// The program's icon: a night-blue tile with a rising sun over three waves. The setup dialog
// shows these pixels, and the content build writes them at the desktop's icon sizes.
#pragma once

enum { kIconPictureSide = 48 };  // the size the dialog shows

// Paints the icon `side` pixels square into `rgb` (side * side * 3 bytes, top row first),
// smoothed at every size from 16 to 512.
void PaintIconPicture(unsigned char* rgb, int side);
