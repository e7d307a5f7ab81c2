// kamora-x-poke: what a viewer does to the show's window, for the fault matrix.
//   kamora-x-poke escape [HOLD]  focuses the window and presses Escape (through XTest, as a
//                                keyboard would), holding it HOLD seconds (default 0.3)
//   kamora-x-poke close    asks the window to close, as a window manager's close box does
// The window is found by its title ("Ka Mora ..."), waiting up to 20 s for it. Exit code 0 when done.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

// Depth-first search for a mapped window whose name starts with "Ka Mora".
static Window FindShowWindow(Display* display, Window from) {
    char* name = nullptr;
    if (XFetchName(display, from, &name) && name) {
        bool match = strncmp(name, "Ka Mora", 7) == 0;
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, from, &attributes) && attributes.map_state == IsViewable)
            return from;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, from, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) found = FindShowWindow(display, children[i]);
        if (children) XFree(children);
    }
    return found;
}

static int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

static bool WindowExists(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0;
}

static void PressEscape(Display* display, Window window, double hold) {
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    usleep(100000);
    KeyCode escape = XKeysymToKeycode(display, XK_Escape);
    XTestFakeKeyEvent(display, escape, True, CurrentTime);
    XSync(display, False);
    // Held for `hold` seconds, or until the window is gone; the key is always let go again, or
    // it would stay down for every later program on this display.
    for (double held = 0; held < hold && WindowExists(display, window); held += 0.05) usleep(50000);
    XTestFakeKeyEvent(display, escape, False, CurrentTime);
    XSync(display, False);
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
    if (argc < 2 || argc > 3 || (strcmp(argv[1], "escape") != 0 && strcmp(argv[1], "close") != 0)) {
        fprintf(stderr, "usage: kamora-x-poke escape [HOLD_SECONDS] | close\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "kamora-x-poke: no display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);  // the window may go at any moment
    Window window = 0;
    for (int tries = 0; tries < 200 && !window; ++tries) {
        window = FindShowWindow(display, DefaultRootWindow(display));
        if (!window) usleep(100000);
    }
    if (!window) {
        fprintf(stderr, "kamora-x-poke: no window of the show\n");
        XCloseDisplay(display);
        return 1;
    }
    if (strcmp(argv[1], "escape") == 0) PressEscape(display, window, argc == 3 ? atof(argv[2]) : 0.3);
    else AskToClose(display, window);
    XCloseDisplay(display);
    return 0;
}
