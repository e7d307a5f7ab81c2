// kamora-x-poke: what a viewer does to the show's window, for the fault matrix.
//   kamora-x-poke escape PID [HOLD]  presses Escape in the window of process PID, holding it HOLD
//                                    seconds (default 0.3) or until the window is gone
//   kamora-x-poke close PID          asks that window to close, as a window manager's close box does
//   kamora-x-poke f11 PID            presses and lets go of F11 in that window
//   kamora-x-poke shot FILE          writes the whole screen as it shows now to FILE (binary PPM)
// Events are sent to that one window (never through the display's focus), so shows running side by
// side on one display do not see each other's keys (PID 0: the one show of a private display).
// Waits up to 20 s for the window; 0 when done.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

static long WindowPid(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    Atom property = XInternAtom(display, "_NET_WM_PID", False);
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success && data && count == 1 && format == 32)
        pid = *(long*)data;
    if (data) XFree(data);
    return pid;
}

// Depth-first search for a mapped window of process `pid` whose name starts with "Ka Mora".
static Window FindShowWindow(Display* display, Window from, long pid) {
    char* name = nullptr;
    if (XFetchName(display, from, &name) && name) {
        bool match = strncmp(name, "Ka Mora", 7) == 0 && (pid == 0 || WindowPid(display, from) == pid);
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, from, &attributes) && attributes.map_state == IsViewable)
            return from;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, from, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) found = FindShowWindow(display, children[i], pid);
        if (children) XFree(children);
    }
    return found;
}

static void SendKey(Display* display, Window window, int type, KeyCode key) {
    XEvent event = {};
    event.xkey.type = type;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.time = CurrentTime;
    event.xkey.same_screen = True;
    event.xkey.keycode = key;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
    XSync(display, False);
}

static int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

static bool WindowExists(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0;
}

// Held for `hold` seconds, or until the window is gone, repeating as a held key does: when the
// window gains the focus (another show's window closing on the same display), SDL matches its key
// state to the keyboard's, where a key sent to one window is not down.
static void PressKey(Display* display, Window window, KeySym symbol, double hold) {
    KeyCode key = XKeysymToKeycode(display, symbol);
    SendKey(display, window, KeyPress, key);
    for (double held = 0; held < hold && WindowExists(display, window); held += 0.05) {
        usleep(50000);
        if (held >= 0.25 && WindowExists(display, window)) SendKey(display, window, KeyPress, key);
    }
    if (WindowExists(display, window)) SendKey(display, window, KeyRelease, key);
}

// The root window's pixels as a binary PPM; false when the screen cannot be read or written.
static bool WriteScreenshot(Display* display, const char* path) {
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes)) return false;
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    FILE* file = fopen(path, "wb");
    bool ok = file != nullptr;
    if (ok) {
        fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                unsigned long pixel = XGetPixel(image, x, y);
                unsigned char rgb[3] = {(unsigned char)((pixel & image->red_mask) >> 16),
                                        (unsigned char)((pixel & image->green_mask) >> 8),
                                        (unsigned char)(pixel & image->blue_mask)};
                fwrite(rgb, 1, 3, file);
            }
        ok = fclose(file) == 0;
    }
    XDestroyImage(image);
    return ok;
}

static void AskToClose(Display* display, Window window) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

int main(int argc, char** argv) {
    const bool known = argc >= 3 && (!strcmp(argv[1], "escape") || !strcmp(argv[1], "close") ||
                                     !strcmp(argv[1], "f11") || !strcmp(argv[1], "shot"));
    if (!known || argc > 4) {
        fprintf(stderr, "usage: kamora-x-poke escape PID [HOLD_SECONDS] | close PID | f11 PID | shot FILE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "kamora-x-poke: no display\n");
        return 1;
    }
    if (strcmp(argv[1], "shot") == 0) {
        bool written = WriteScreenshot(display, argv[2]);
        XCloseDisplay(display);
        return written ? 0 : 1;
    }
    XSetErrorHandler(IgnoreErrors);  // the window may go at any moment
    Window window = 0;
    for (int tries = 0; tries < 200 && !window; ++tries) {
        window = FindShowWindow(display, DefaultRootWindow(display), atol(argv[2]));
        if (!window) usleep(100000);
    }
    if (!window) {
        fprintf(stderr, "kamora-x-poke: no window of the show\n");
        XCloseDisplay(display);
        return 1;
    }
    if (strcmp(argv[1], "escape") == 0) PressKey(display, window, XK_Escape, argc == 4 ? atof(argv[3]) : 0.3);
    else if (strcmp(argv[1], "f11") == 0) PressKey(display, window, XK_F11, 0.1);
    else AskToClose(display, window);
    XCloseDisplay(display);
    return 0;
}
