// SPDX-License-Identifier: GPL-2.0-or-later
// Tells whether another client of the X display holds a grab of a key on the
// root window, as a window manager does for its key bindings:
//   keygrabbed [super+|shift+|control+|alt+]...KEYSYM...
// exits 0 when every key given is grabbed by someone else (a grab of our
// own fails with BadAccess), 1 when one is not, 2 on a usage or display
// error. A window manager may show that it runs before it has grabbed its
// keys; a test that presses them waits on this.

#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool refused = false;

int noteRefusal(Display*, XErrorEvent* error)
{
    if (error->error_code == BadAccess) {
        refused = true;
    }
    return 0;
}

struct Key
{
    unsigned int modifiers = 0;
    KeySym symbol = NoSymbol;
};

bool parse(std::string text, Key& key)
{
    const struct
    {
        const char* prefix;
        unsigned int mask;
    } modifiers[] = {
        {"super+", Mod4Mask}, {"shift+", ShiftMask}, {"control+", ControlMask}, {"alt+", Mod1Mask}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& modifier : modifiers) {
            const std::size_t length = std::strlen(modifier.prefix);
            if (text.compare(0, length, modifier.prefix) == 0) {
                key.modifiers |= modifier.mask;
                text.erase(0, length);
                found = true;
            }
        }
    }
    key.symbol = XStringToKeysym(text.c_str());
    return key.symbol != NoSymbol;
}

// Whether someone else holds the grab: ours is refused.
bool grabbedElsewhere(Display* display, const Key& key)
{
    const KeyCode code = XKeysymToKeycode(display, key.symbol);
    if (code == 0) {
        return false;
    }
    const Window root = DefaultRootWindow(display);
    refused = false;
    XGrabKey(display, code, key.modifiers, root, False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    if (!refused) {
        XUngrabKey(display, code, key.modifiers, root);
        XSync(display, False);
    }
    return refused;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("usage: keygrabbed [super+|shift+|control+|alt+]...KEYSYM...\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("keygrabbed: cannot open the display\n", stderr);
        return 2;
    }
    XSetErrorHandler(noteRefusal);
    int status = 0;
    for (int i = 1; i < argc && status == 0; ++i) {
        Key key;
        if (!parse(argv[i], key)) {
            std::fprintf(stderr, "keygrabbed: no key %s\n", argv[i]);
            status = 2;
        } else if (!grabbedElsewhere(display, key)) {
            status = 1;
        }
    }
    XCloseDisplay(display);
    return status;
}
