// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Qt's byte strings handed to the standard library's routines of
// powerdaemon/ without a copy.

#include <QByteArray>

#include <cstddef>
#include <string_view>

namespace schemes {

// Valid as long as bytes is neither changed nor destroyed.
inline std::string_view bytesView(const QByteArray& bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

} // namespace schemes
