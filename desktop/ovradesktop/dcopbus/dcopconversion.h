// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

class QDataStream;

namespace DCOPTypes {

/// Everything the desktop layer knows about one DCOP type: its D-Bus
/// signature, its DCOP encoding in both directions and how the dcop command
/// line reads it. Each row of the type list in
/// dcoptypes.cpp points at one of these.
struct Conversion
{
    const char* signature; // null for void
    /// Writes the value; false when the type has no value (void). The
    /// stream's status is checked by the caller.
    bool (*encode)(const QVariant& value, QDataStream& out);
    bool (*decode)(QDataStream& in, QVariant& value);
    /// Reads command-line text; false when it is not a value of the type.
    /// Null when no text converts to the type; refusal then says why.
    bool (*fromText)(const QString& text, QVariant& value);
    QString (*refusal)(const QByteArray& type);
};

/// The conversions, one per kind of value; dcoptypes.cpp maps each spelling
/// of a type to one of them.
namespace Conversions {
extern const Conversion voidType;
extern const Conversion int8Type;
extern const Conversion uint8Type;
extern const Conversion int16Type;
extern const Conversion uint16Type;
extern const Conversion int32Type;
extern const Conversion uint32Type;
extern const Conversion int64Type;
extern const Conversion uint64Type;
extern const Conversion boolType;
extern const Conversion doubleType;
extern const Conversion floatType;
extern const Conversion stringType;
extern const Conversion cstringType;
extern const Conversion byteArrayType;
extern const Conversion stringListType;
extern const Conversion cstringListType;
extern const Conversion intListType;
/// Any other type: its QDataStream bytes, unchanged, as "ay".
extern const Conversion rawType;
} // namespace Conversions

} // namespace DCOPTypes
