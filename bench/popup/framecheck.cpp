// SPDX-License-Identifier: GPL-2.0-or-later
#include "framecheck.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr int ListTop = 55;
constexpr int ListWidth = 516;
constexpr int ListHeight = 250;

// The popup's rows: 35 pixels apart, the rounded rectangle inset by 3 and
// outlined 3 pixels wide; x 30 lies inside the fill, left of the text.
constexpr int RowPitch = 35;
constexpr int VisibleRows = 7;
constexpr int OutlineOffset = 3;
constexpr int FillOffset = 17;
constexpr int ProbeX = 30;

struct Rgb
{
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    int luma() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

const Rgb Red{242, 0, 0};
const Rgb PlainOutline{16, 28, 28};
const Rgb MarkedOutline{226, 239, 239};

// A rectangle of a window's pixels in the 32-bit TrueColor layout of a
// depth-24 screen (what Xvfb and nearly every X server use).
class Pixels
{
public:
    Pixels(xcb_connection_t* x, xcb_window_t window, int left, int top, int width, int height)
        : m_width(width), m_height(height)
    {
        const xcb_get_image_cookie_t cookie =
            xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, int16_t(left), int16_t(top),
                          uint16_t(width), uint16_t(height), ~0u);
        xcb_generic_error_t* error = nullptr;
        m_reply.reset(xcb_get_image_reply(x, cookie, &error));
        std::free(error);
        if (m_reply && xcb_get_image_data_length(m_reply.get()) != width * height * 4) {
            m_reply.reset();
        }
    }

    bool isValid() const { return m_reply != nullptr; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    Rgb at(int x, int y) const
    {
        const uint8_t* p = xcb_get_image_data(m_reply.get()) + (y * m_width + x) * 4;
        return {p[2], p[1], p[0]};
    }

private:
    struct Free
    {
        void operator()(xcb_get_image_reply_t* reply) const { std::free(reply); }
    };
    std::unique_ptr<xcb_get_image_reply_t, Free> m_reply;
    int m_width;
    int m_height;
};

} // namespace

FrameCheck::FrameCheck(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return;
    }
    const std::string kind = text.substr(0, colon);
    char* end = nullptr;
    const long rows = std::strtol(text.c_str() + colon + 1, &end, 10);
    if (*end != '\0' || rows < 1 || rows > 100) {
        return;
    }
    m_rows = int(rows);
    if (kind == "schemes") {
        m_kind = Kind::Schemes;
    } else if (kind == "items") {
        m_kind = Kind::Items;
    }
}

bool FrameCheck::isPainted(xcb_connection_t* x, xcb_window_t window) const
{
    switch (m_kind) {
    case Kind::Schemes:
        return schemesPainted(x, window);
    case Kind::Items:
        return itemsPainted(x, window);
    case Kind::Invalid:
        break;
    }
    return false;
}

// Every visible row outlined, and one row's fill red.
bool FrameCheck::schemesPainted(xcb_connection_t* x, xcb_window_t window) const
{
    const Pixels column(x, window, ProbeX, ListTop, 1, ListHeight);
    if (!column.isValid()) {
        return false;
    }
    bool red = false;
    const int rows = m_rows < VisibleRows ? m_rows : VisibleRows;
    for (int row = 0; row < rows; ++row) {
        const Rgb outline = column.at(0, row * RowPitch + OutlineOffset);
        if (!(outline == PlainOutline) && !(outline == MarkedOutline)) {
            return false;
        }
        red = red || column.at(0, row * RowPitch + FillOffset) == Red;
    }
    return red;
}

// The right part of the list one light colour from top to bottom, and the
// left part, where the texts begin, holding exactly the expected number of
// bands of dark text lines.
bool FrameCheck::itemsPainted(xcb_connection_t* x, xcb_window_t window) const
{
    constexpr int Inset = 4; // inside the list's frame
    constexpr int TextWidth = 140;
    const int top = ListTop + Inset;
    const int height = ListHeight - 2 * Inset;
    const Pixels right(x, window, ListWidth - 100, top, 1, height);
    const Pixels left(x, window, Inset, top, TextWidth, height);
    if (!right.isValid() || !left.isValid()) {
        return false;
    }
    const Rgb base = right.at(0, 0);
    if (base.luma() < 192) {
        return false;
    }
    for (int y = 1; y < height; ++y) {
        if (!(right.at(0, y) == base)) {
            return false;
        }
    }
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < height; ++y) {
        bool dark = false;
        for (int px = 0; px < TextWidth && !dark; ++px) {
            dark = left.at(px, y).luma() < 128;
        }
        if (dark && !inBand) {
            ++bands;
        }
        inBand = dark;
    }
    return bands == m_rows;
}
