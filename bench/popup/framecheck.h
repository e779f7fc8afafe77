// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Tells from a window's pixels on the X server whether a program has painted
// its first complete frame. Two kinds of window are known:
//
//   schemes:N  the popup: N owner-drawn scheme rows (at most the 7 that fit)
//              outlined in the list, and one of them filled red
//   items:N    a plain list widget: N rows of dark text on the list's light
//              background, the rest of the list plain background
//
// Both look at the list that fills 516 x 250 pixels at the top 55 of the
// window, as the popup's layout and the minimal program place it.

#include <xcb/xcb.h>

#include <string>

class FrameCheck
{
public:
    // Parses "schemes:N" or "items:N"; an invalid text gives an invalid check.
    explicit FrameCheck(const std::string& text);

    bool isValid() const { return m_kind != Kind::Invalid; }
    // True when the window shows the complete frame now. Reads the pixels
    // with GetImage; a window that is not viewable yet shows no frame.
    bool isPainted(xcb_connection_t* x, xcb_window_t window) const;

private:
    enum class Kind
    {
        Invalid,
        Schemes,
        Items
    };
    bool schemesPainted(xcb_connection_t* x, xcb_window_t window) const;
    bool itemsPainted(xcb_connection_t* x, xcb_window_t window) const;

    Kind m_kind = Kind::Invalid;
    int m_rows = 0;
};
