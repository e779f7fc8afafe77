// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The message catalogue OvraIface (po/): the applet's texts and the words
// both programs tell a switch's result in.

#include <QFile>
#include <QString>

#include <libintl.h>

// Marks a text for the catalogue extractor without translating it here; the
// code passes it through the catalogue where it is shown.
#ifndef I18N_NOOP
#define I18N_NOOP(text) text
#endif

namespace schemes {

inline constexpr char CatalogueDomain[] = "OvraIface";

// Through the catalogue itself, not the process's default domain: another
// applet in the same panel may insert a catalogue after this one.
inline QString translated(const char* text)
{
    return QString::fromUtf8(dgettext(CatalogueDomain, text));
}

// For a program that does not insert the catalogue through the desktop
// layer (the popup): its .mo files are looked for under folder
// (folder/LANGUAGE/LC_MESSAGES/OvraIface.mo), read as UTF-8.
inline void bindCatalogue(const QString& folder)
{
    bindtextdomain(CatalogueDomain, QFile::encodeName(folder).constData());
    bind_textdomain_codeset(CatalogueDomain, "UTF-8");
}

} // namespace schemes
