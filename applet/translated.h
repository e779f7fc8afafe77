// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's texts in the user's language.

#include "comm.h"

#include <QString>

#include <libintl.h>

// Through the applet's own catalogue, not the process's default domain:
// another applet in the same panel may insert a catalogue after this one.
inline QString translated(const char* text)
{
    return QString::fromUtf8(dgettext(m_strIFace, text));
}
