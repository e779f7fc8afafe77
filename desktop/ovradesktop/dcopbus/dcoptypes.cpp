// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcoptypes.h"

#include "dcopconversion.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDataStream>
#include <QHash>

namespace DCOPTypes {

namespace {

/// Every spelling of a type that the KDE 3 headers and Qt use.
const Conversion& conversionOf(const QByteArray& type)
{
    static const QHash<QByteArray, const Conversion*> types{
        {"void", &Conversions::voidType},
        {"ASYNC", &Conversions::voidType},
        {"char", &Conversions::int8Type},
        {"Q_INT8", &Conversions::int8Type},
        {"qint8", &Conversions::int8Type},
        {"uchar", &Conversions::uint8Type},
        {"unsigned char", &Conversions::uint8Type},
        {"Q_UINT8", &Conversions::uint8Type},
        {"quint8", &Conversions::uint8Type},
        {"short", &Conversions::int16Type},
        {"Q_INT16", &Conversions::int16Type},
        {"qint16", &Conversions::int16Type},
        {"ushort", &Conversions::uint16Type},
        {"unsigned short", &Conversions::uint16Type},
        {"Q_UINT16", &Conversions::uint16Type},
        {"quint16", &Conversions::uint16Type},
        {"int", &Conversions::int32Type},
        {"Q_INT32", &Conversions::int32Type},
        {"qint32", &Conversions::int32Type},
        {"uint", &Conversions::uint32Type},
        {"unsigned", &Conversions::uint32Type},
        {"unsigned int", &Conversions::uint32Type},
        {"Q_UINT32", &Conversions::uint32Type},
        {"quint32", &Conversions::uint32Type},
        {"Q_INT64", &Conversions::int64Type},
        {"qint64", &Conversions::int64Type},
        {"qlonglong", &Conversions::int64Type},
        {"long long", &Conversions::int64Type},
        {"Q_UINT64", &Conversions::uint64Type},
        {"quint64", &Conversions::uint64Type},
        {"qulonglong", &Conversions::uint64Type},
        {"unsigned long long", &Conversions::uint64Type},
        {"bool", &Conversions::boolType},
        {"double", &Conversions::doubleType},
        {"float", &Conversions::floatType},
        {"QString", &Conversions::stringType},
        {"QCString", &Conversions::cstringType},
        {"QByteArray", &Conversions::byteArrayType},
        {"QStringList", &Conversions::stringListType},
        {"QCStringList", &Conversions::cstringListType},
        {"QValueList<QCString>", &Conversions::cstringListType},
        {"QList<QByteArray>", &Conversions::cstringListType},
        {"QValueList<int>", &Conversions::intListType},
        {"QList<int>", &Conversions::intListType},
    };
    return *types.value(type, &Conversions::rawType);
}

} // namespace

void registerMetaTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<QList<int>>();
        return true;
    }();
    Q_UNUSED(done);
}

bool isVoid(const QByteArray& type)
{
    return &conversionOf(type) == &Conversions::voidType;
}

bool isKnown(const QByteArray& type)
{
    return &conversionOf(type) != &Conversions::rawType;
}

QString dbusSignature(const QByteArray& type)
{
    const char* signature = conversionOf(type).signature;
    return signature ? QString::fromLatin1(signature) : QString();
}

bool encode(const QByteArray& type, const QVariant& value, QDataStream& out)
{
    return conversionOf(type).encode(value, out) && out.status() == QDataStream::Ok;
}

bool decode(const QByteArray& type, QDataStream& in, QVariant& value)
{
    return conversionOf(type).decode(in, value);
}

bool fromText(const QByteArray& type, const QString& text, QVariant& value, QString* error)
{
    const Conversion& conversion = conversionOf(type);
    const QString why =
        !conversion.fromText ? conversion.refusal(type)
        : conversion.fromText(text, value)
            ? QString()
            : QStringLiteral("\"%1\" is not a valid %2").arg(text, QString::fromLatin1(type));
    if (why.isNull()) {
        return true;
    }
    if (error) {
        *error = why;
    }
    return false;
}

QStringList toText(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>()) {
        const QList<int> ints = qdbus_cast<QList<int>>(value.value<QDBusArgument>());
        QStringList lines;
        for (int i : ints) {
            lines << QString::number(i);
        }
        return lines;
    }
    if (value.userType() == qMetaTypeId<QList<int>>()) {
        QStringList lines;
        for (int i : value.value<QList<int>>()) {
            lines << QString::number(i);
        }
        return lines;
    }
    if (value.userType() == QMetaType::QStringList) {
        return value.toStringList();
    }
    if (value.userType() == QMetaType::Bool) {
        return {value.toBool() ? QStringLiteral("true") : QStringLiteral("false")};
    }
    if (value.userType() == QMetaType::UChar) {
        return {QString::number(value.toUInt())};
    }
    if (value.userType() == QMetaType::QByteArray) {
        return {QString::fromUtf8(value.toByteArray().toHex(' '))};
    }
    return {value.toString()};
}

} // namespace DCOPTypes
