// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopconversion.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDataStream>
#include <QIODevice>
#include <QStringList>

#include <cstdint>

namespace DCOPTypes {

namespace {

// Writing --------------------------------------------------------------------

bool encodeNothing(const QVariant&, QDataStream&)
{
    return false;
}

/// An integer of DCOP's width T, taken from the variant as QVariant::*get reads it.
template <typename T, typename R, R (QVariant::*get)(bool*) const>
bool encodeInteger(const QVariant& value, QDataStream& out)
{
    out << static_cast<T>((value.*get)(nullptr));
    return true;
}

/// A value written as QDataStream writes T, the variant converted to T first.
template <typename T> bool encodeValue(const QVariant& value, QDataStream& out)
{
    out << value.value<T>();
    return true;
}

bool encodeFloat(const QVariant& value, QDataStream& out)
{
    // DCOP sent a float as four bytes.
    const auto precision = out.floatingPointPrecision();
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    out << static_cast<float>(value.toDouble());
    out.setFloatingPointPrecision(precision);
    return true;
}

bool encodeCString(const QVariant& value, QDataStream& out)
{
    out << value.toString().toUtf8();
    return true;
}

bool encodeCStringList(const QVariant& value, QDataStream& out)
{
    QList<QByteArray> list;
    for (const QString& s : value.toStringList()) {
        list << s.toUtf8();
    }
    out << list;
    return true;
}

QList<int> intListOf(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>()) {
        return qdbus_cast<QList<int>>(value.value<QDBusArgument>());
    }
    return value.value<QList<int>>();
}

bool encodeIntList(const QVariant& value, QDataStream& out)
{
    out << intListOf(value);
    return true;
}

bool encodeRaw(const QVariant& value, QDataStream& out)
{
    const QByteArray raw = value.toByteArray();
    out.writeRawData(raw.constData(), static_cast<int>(raw.size()));
    return true;
}

// Reading --------------------------------------------------------------------

bool decodeNothing(QDataStream&, QVariant&)
{
    return false;
}

/// A value read whole: the variant is set only when the read succeeds.
template <typename T> bool decodeValue(QDataStream& in, QVariant& value)
{
    T v{};
    in >> v;
    if (in.status() != QDataStream::Ok) {
        return false;
    }
    value = QVariant::fromValue(v);
    return true;
}

bool decodeInt8(QDataStream& in, QVariant& value)
{
    qint8 v = 0;
    in >> v;
    value = QVariant::fromValue(static_cast<uchar>(v));
    return in.status() == QDataStream::Ok;
}

bool decodeFloat(QDataStream& in, QVariant& value)
{
    const auto precision = in.floatingPointPrecision();
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    float v = 0;
    in >> v;
    in.setFloatingPointPrecision(precision);
    value = static_cast<double>(v);
    return in.status() == QDataStream::Ok;
}

bool decodeString(QDataStream& in, QVariant& value)
{
    QString v;
    in >> v;
    value = v.isNull() ? QString(QLatin1String("")) : v;
    return in.status() == QDataStream::Ok;
}

bool decodeCString(QDataStream& in, QVariant& value)
{
    QByteArray v;
    in >> v;
    value = QString::fromUtf8(v);
    return in.status() == QDataStream::Ok;
}

/// A list as QDataStream writes it: a 32-bit count, then the items. Every
/// item takes at least four bytes (a length or an int), so a count the bytes
/// left cannot hold is refused before anything is allocated for it; read by
/// QDataStream, such a count reserves room for it first.
template <typename T> bool readList(QDataStream& in, QList<T>& list)
{
    constexpr qint64 minimumItemSize = 4;
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok) {
        return false;
    }
    if (!in.device() || count > in.device()->bytesAvailable() / minimumItemSize) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    list.reserve(static_cast<int>(count));
    for (quint32 i = 0; i < count; ++i) {
        T item;
        in >> item;
        if (in.status() != QDataStream::Ok) {
            return false;
        }
        list.append(item);
    }
    return true;
}

bool decodeStringList(QDataStream& in, QVariant& value)
{
    QStringList list;
    if (!readList(in, list)) {
        return false;
    }
    value = list;
    return true;
}

bool decodeCStringList(QDataStream& in, QVariant& value)
{
    QList<QByteArray> v;
    if (!readList(in, v)) {
        return false;
    }
    QStringList list;
    for (const QByteArray& b : v) {
        list << QString::fromUtf8(b);
    }
    value = list;
    return true;
}

bool decodeIntList(QDataStream& in, QVariant& value)
{
    QList<int> v;
    if (!readList(in, v)) {
        return false;
    }
    value = QVariant::fromValue(v);
    return true;
}

bool decodeRaw(QDataStream& in, QVariant& value)
{
    value = in.device() ? in.device()->readAll() : QByteArray();
    return true;
}

// Command-line text ------------------------------------------------------------

bool parseInteger(const QString& text, qlonglong min, qlonglong max, QVariant& out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok, 0);
    if (!ok || v < min || v > max) {
        return false;
    }
    out = v;
    return true;
}

/// An integer in [Min, Max], held as T (a char of either sign as uchar).
template <typename T, qlonglong Min, qlonglong Max>
bool integerFromText(const QString& text, QVariant& value)
{
    if (!parseInteger(text, Min, Max, value)) {
        return false;
    }
    value = QVariant::fromValue(static_cast<T>(value.toLongLong()));
    return true;
}

bool int64FromText(const QString& text, QVariant& value)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok, 0);
    if (!ok) {
        return false;
    }
    value = QVariant::fromValue(v);
    return true;
}

bool uint64FromText(const QString& text, QVariant& value)
{
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok, 0);
    if (!ok || text.trimmed().startsWith(QLatin1Char('-'))) {
        return false;
    }
    value = QVariant::fromValue(v);
    return true;
}

bool boolFromText(const QString& text, QVariant& value)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("1")) {
        value = true;
    } else if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0")) {
        value = false;
    } else {
        return false;
    }
    return true;
}

bool doubleFromText(const QString& text, QVariant& value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok) {
        return false;
    }
    value = v;
    return true;
}

bool stringFromText(const QString& text, QVariant& value)
{
    value = text;
    return true;
}

bool stringListFromText(const QString& text, QVariant& value)
{
    value = text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
    return true;
}

bool intListFromText(const QString& text, QVariant& value)
{
    QList<int> list;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QVariant v;
        if (!parseInteger(part, INT32_MIN, INT32_MAX, v)) {
            return false;
        }
        list << v.toInt();
    }
    value = QVariant::fromValue(list);
    return true;
}

bool byteArrayFromText(const QString& text, QVariant& value)
{
    value = text.toUtf8();
    return true;
}

QString voidRefusal(const QByteArray&)
{
    return QStringLiteral("a parameter cannot be of type void");
}

QString rawRefusal(const QByteArray& type)
{
    return QStringLiteral("cannot convert an argument to type %1").arg(QString::fromLatin1(type));
}

} // namespace

namespace Conversions {

const Conversion voidType{nullptr, encodeNothing, decodeNothing, nullptr, voidRefusal};
const Conversion int8Type{"y", encodeInteger<qint8, int, &QVariant::toInt>, decodeInt8,
                          integerFromText<uchar, -128, 255>, nullptr};
const Conversion uint8Type{"y", encodeInteger<quint8, uint, &QVariant::toUInt>, decodeValue<uchar>,
                           integerFromText<uchar, 0, 255>, nullptr};
const Conversion int16Type{"n", encodeInteger<qint16, int, &QVariant::toInt>, decodeValue<qint16>,
                           integerFromText<qint16, -32768, 32767>, nullptr};
const Conversion uint16Type{"q", encodeInteger<quint16, uint, &QVariant::toUInt>,
                            decodeValue<quint16>, integerFromText<quint16, 0, 65535>, nullptr};
const Conversion int32Type{"i", encodeInteger<qint32, int, &QVariant::toInt>, decodeValue<qint32>,
                           integerFromText<qint32, INT32_MIN, INT32_MAX>, nullptr};
const Conversion uint32Type{"u", encodeInteger<quint32, uint, &QVariant::toUInt>,
                            decodeValue<quint32>, integerFromText<quint32, 0, UINT32_MAX>, nullptr};
const Conversion int64Type{"x", encodeInteger<qint64, qlonglong, &QVariant::toLongLong>,
                           decodeValue<qlonglong>, int64FromText, nullptr};
const Conversion uint64Type{"t", encodeInteger<quint64, qulonglong, &QVariant::toULongLong>,
                            decodeValue<qulonglong>, uint64FromText, nullptr};
const Conversion boolType{"b", encodeValue<bool>, decodeValue<bool>, boolFromText, nullptr};
const Conversion doubleType{"d", encodeValue<double>, decodeValue<double>, doubleFromText, nullptr};
const Conversion floatType{"d", encodeFloat, decodeFloat, doubleFromText, nullptr};
const Conversion stringType{"s", encodeValue<QString>, decodeString, stringFromText, nullptr};
const Conversion cstringType{"s", encodeCString, decodeCString, stringFromText, nullptr};
const Conversion byteArrayType{"ay", encodeValue<QByteArray>, decodeValue<QByteArray>,
                               byteArrayFromText, nullptr};
const Conversion stringListType{"as", encodeValue<QStringList>, decodeStringList,
                                stringListFromText, nullptr};
const Conversion cstringListType{"as", encodeCStringList, decodeCStringList, stringListFromText,
                                 nullptr};
const Conversion intListType{"ai", encodeIntList, decodeIntList, intListFromText, nullptr};
const Conversion rawType{"ay", encodeRaw, decodeRaw, nullptr, rawRefusal};

} // namespace Conversions

} // namespace DCOPTypes
