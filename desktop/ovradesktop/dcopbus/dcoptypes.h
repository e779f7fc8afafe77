// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

class QDataStream;

/// How DCOP's C++ types travel over D-Bus: each known type has a D-Bus
/// signature ("int" is "i", "QString" is "s", ...) and a QDataStream form
/// (DCOP's big-endian encoding). A type without a mapping travels as "ay"
/// holding its QDataStream bytes unchanged.
namespace DCOPTypes {

/// The D-Bus signature of a DCOP type; empty for "void".
OVRADESKTOP_EXPORT QString dbusSignature(const QByteArray& type);
/// True when the type has a mapping of its own (not the raw "ay").
OVRADESKTOP_EXPORT bool isKnown(const QByteArray& type);
OVRADESKTOP_EXPORT bool isVoid(const QByteArray& type);

/// Writes a value received over D-Bus in the type's DCOP encoding.
OVRADESKTOP_EXPORT bool encode(const QByteArray& type, const QVariant& value, QDataStream& out);
/// Reads a value in the type's DCOP encoding as a D-Bus value.
OVRADESKTOP_EXPORT bool decode(const QByteArray& type, QDataStream& in, QVariant& value);

/// Converts command-line text to a D-Bus value of the type; false with a
/// reason when the text is not a value of that type.
OVRADESKTOP_EXPORT bool fromText(const QByteArray& type, const QString& text, QVariant& value,
                                 QString* error);
/// The lines with which the dcop command prints a reply value.
OVRADESKTOP_EXPORT QStringList toText(const QVariant& value);

/// Registers the container types used above with QtDBus; safe to call often.
OVRADESKTOP_EXPORT void registerMetaTypes();

} // namespace DCOPTypes
