#include "dcoptypes.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDataStream>
#include <QHash>
#include <QIODevice>

#include <cstdint>

namespace DCOPTypes {

namespace {

enum class Kind
{
    Void,
    Int8,
    UInt8,
    Int16,
    UInt16,
    Int32,
    UInt32,
    Int64,
    UInt64,
    Bool,
    Double,
    Float,
    String,
    CString,
    ByteArray,
    StringList,
    CStringList,
    IntList,
    Raw
};

Kind kindOf(const QByteArray& type)
{
    static const QHash<QByteArray, Kind> kinds{
        {"void", Kind::Void},
        {"ASYNC", Kind::Void},
        {"char", Kind::Int8},
        {"Q_INT8", Kind::Int8},
        {"qint8", Kind::Int8},
        {"uchar", Kind::UInt8},
        {"unsigned char", Kind::UInt8},
        {"Q_UINT8", Kind::UInt8},
        {"quint8", Kind::UInt8},
        {"short", Kind::Int16},
        {"Q_INT16", Kind::Int16},
        {"qint16", Kind::Int16},
        {"ushort", Kind::UInt16},
        {"unsigned short", Kind::UInt16},
        {"Q_UINT16", Kind::UInt16},
        {"quint16", Kind::UInt16},
        {"int", Kind::Int32},
        {"Q_INT32", Kind::Int32},
        {"qint32", Kind::Int32},
        {"uint", Kind::UInt32},
        {"unsigned", Kind::UInt32},
        {"unsigned int", Kind::UInt32},
        {"Q_UINT32", Kind::UInt32},
        {"quint32", Kind::UInt32},
        {"Q_INT64", Kind::Int64},
        {"qint64", Kind::Int64},
        {"qlonglong", Kind::Int64},
        {"long long", Kind::Int64},
        {"Q_UINT64", Kind::UInt64},
        {"quint64", Kind::UInt64},
        {"qulonglong", Kind::UInt64},
        {"unsigned long long", Kind::UInt64},
        {"bool", Kind::Bool},
        {"double", Kind::Double},
        {"float", Kind::Float},
        {"QString", Kind::String},
        {"QCString", Kind::CString},
        {"QByteArray", Kind::ByteArray},
        {"QStringList", Kind::StringList},
        {"QCStringList", Kind::CStringList},
        {"QValueList<QCString>", Kind::CStringList},
        {"QList<QByteArray>", Kind::CStringList},
        {"QValueList<int>", Kind::IntList},
        {"QList<int>", Kind::IntList},
    };
    return kinds.value(type, Kind::Raw);
}

template <typename T> bool readValue(QDataStream& in, QVariant& value)
{
    T v{};
    in >> v;
    if (in.status() != QDataStream::Ok)
        return false;
    value = QVariant::fromValue(v);
    return true;
}

QStringList utf8List(const QList<QByteArray>& bytes)
{
    QStringList list;
    for (const QByteArray& b : bytes)
        list << QString::fromUtf8(b);
    return list;
}

QList<int> intListOf(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QList<int>>(value.value<QDBusArgument>());
    return value.value<QList<int>>();
}

bool parseInteger(const QString& text, qlonglong min, qlonglong max, QVariant& out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok, 0);
    if (!ok || v < min || v > max)
        return false;
    out = v;
    return true;
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
    return kindOf(type) == Kind::Void;
}

bool isKnown(const QByteArray& type)
{
    return kindOf(type) != Kind::Raw;
}

QString dbusSignature(const QByteArray& type)
{
    switch (kindOf(type)) {
    case Kind::Void:
        return QString();
    case Kind::Int8:
    case Kind::UInt8:
        return QStringLiteral("y");
    case Kind::Int16:
        return QStringLiteral("n");
    case Kind::UInt16:
        return QStringLiteral("q");
    case Kind::Int32:
        return QStringLiteral("i");
    case Kind::UInt32:
        return QStringLiteral("u");
    case Kind::Int64:
        return QStringLiteral("x");
    case Kind::UInt64:
        return QStringLiteral("t");
    case Kind::Bool:
        return QStringLiteral("b");
    case Kind::Double:
    case Kind::Float:
        return QStringLiteral("d");
    case Kind::String:
    case Kind::CString:
        return QStringLiteral("s");
    case Kind::StringList:
    case Kind::CStringList:
        return QStringLiteral("as");
    case Kind::IntList:
        return QStringLiteral("ai");
    case Kind::ByteArray:
    case Kind::Raw:
        break;
    }
    return QStringLiteral("ay");
}

bool encode(const QByteArray& type, const QVariant& value, QDataStream& out)
{
    switch (kindOf(type)) {
    case Kind::Void:
        return false;
    case Kind::Int8:
        out << static_cast<qint8>(value.toInt());
        break;
    case Kind::UInt8:
        out << static_cast<quint8>(value.toUInt());
        break;
    case Kind::Int16:
        out << static_cast<qint16>(value.toInt());
        break;
    case Kind::UInt16:
        out << static_cast<quint16>(value.toUInt());
        break;
    case Kind::Int32:
        out << static_cast<qint32>(value.toInt());
        break;
    case Kind::UInt32:
        out << static_cast<quint32>(value.toUInt());
        break;
    case Kind::Int64:
        out << static_cast<qint64>(value.toLongLong());
        break;
    case Kind::UInt64:
        out << static_cast<quint64>(value.toULongLong());
        break;
    case Kind::Bool:
        out << value.toBool();
        break;
    case Kind::Double:
        out << value.toDouble();
        break;
    case Kind::Float: {
        // DCOP sent a float as four bytes.
        const auto precision = out.floatingPointPrecision();
        out.setFloatingPointPrecision(QDataStream::SinglePrecision);
        out << static_cast<float>(value.toDouble());
        out.setFloatingPointPrecision(precision);
        break;
    }
    case Kind::String:
        out << value.toString();
        break;
    case Kind::CString:
        out << value.toString().toUtf8();
        break;
    case Kind::StringList:
        out << value.toStringList();
        break;
    case Kind::CStringList: {
        QList<QByteArray> list;
        for (const QString& s : value.toStringList())
            list << s.toUtf8();
        out << list;
        break;
    }
    case Kind::IntList:
        out << intListOf(value);
        break;
    case Kind::ByteArray:
        out << value.toByteArray();
        break;
    case Kind::Raw: {
        const QByteArray raw = value.toByteArray();
        out.writeRawData(raw.constData(), static_cast<int>(raw.size()));
        break;
    }
    }
    return out.status() == QDataStream::Ok;
}

bool decode(const QByteArray& type, QDataStream& in, QVariant& value)
{
    switch (kindOf(type)) {
    case Kind::Void:
        return false;
    case Kind::Int8: {
        qint8 v = 0;
        in >> v;
        value = QVariant::fromValue(static_cast<uchar>(v));
        return in.status() == QDataStream::Ok;
    }
    case Kind::UInt8:
        return readValue<uchar>(in, value);
    case Kind::Int16:
        return readValue<qint16>(in, value);
    case Kind::UInt16:
        return readValue<quint16>(in, value);
    case Kind::Int32:
        return readValue<qint32>(in, value);
    case Kind::UInt32:
        return readValue<quint32>(in, value);
    case Kind::Int64:
        return readValue<qlonglong>(in, value);
    case Kind::UInt64:
        return readValue<qulonglong>(in, value);
    case Kind::Bool:
        return readValue<bool>(in, value);
    case Kind::Double:
        return readValue<double>(in, value);
    case Kind::Float: {
        const auto precision = in.floatingPointPrecision();
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
        float v = 0;
        in >> v;
        in.setFloatingPointPrecision(precision);
        value = static_cast<double>(v);
        return in.status() == QDataStream::Ok;
    }
    case Kind::String: {
        QString v;
        in >> v;
        value = v.isNull() ? QString(QLatin1String("")) : v;
        return in.status() == QDataStream::Ok;
    }
    case Kind::CString: {
        QByteArray v;
        in >> v;
        value = QString::fromUtf8(v);
        return in.status() == QDataStream::Ok;
    }
    case Kind::StringList:
        return readValue<QStringList>(in, value);
    case Kind::CStringList: {
        QList<QByteArray> v;
        in >> v;
        value = utf8List(v);
        return in.status() == QDataStream::Ok;
    }
    case Kind::IntList: {
        QList<int> v;
        in >> v;
        value = QVariant::fromValue(v);
        return in.status() == QDataStream::Ok;
    }
    case Kind::ByteArray:
        return readValue<QByteArray>(in, value);
    case Kind::Raw:
        value = in.device() ? in.device()->readAll() : QByteArray();
        return true;
    }
    return false;
}

bool fromText(const QByteArray& type, const QString& text, QVariant& value, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString expected =
        QStringLiteral("\"%1\" is not a valid %2").arg(text, QString::fromLatin1(type));
    switch (kindOf(type)) {
    case Kind::Void:
        return fail(QStringLiteral("a parameter cannot be of type void"));
    case Kind::Int8:
    case Kind::UInt8:
        if (!parseInteger(text, kindOf(type) == Kind::Int8 ? -128 : 0, 255, value))
            return fail(expected);
        value = QVariant::fromValue(static_cast<uchar>(value.toInt()));
        return true;
    case Kind::Int16:
        if (!parseInteger(text, -32768, 32767, value))
            return fail(expected);
        value = QVariant::fromValue(static_cast<qint16>(value.toInt()));
        return true;
    case Kind::UInt16:
        if (!parseInteger(text, 0, 65535, value))
            return fail(expected);
        value = QVariant::fromValue(static_cast<quint16>(value.toUInt()));
        return true;
    case Kind::Int32:
        if (!parseInteger(text, INT32_MIN, INT32_MAX, value))
            return fail(expected);
        value = QVariant::fromValue(static_cast<qint32>(value.toInt()));
        return true;
    case Kind::UInt32:
        if (!parseInteger(text, 0, UINT32_MAX, value))
            return fail(expected);
        value = QVariant::fromValue(static_cast<quint32>(value.toUInt()));
        return true;
    case Kind::Int64: {
        bool ok = false;
        const qlonglong v = text.trimmed().toLongLong(&ok, 0);
        if (!ok)
            return fail(expected);
        value = QVariant::fromValue(v);
        return true;
    }
    case Kind::UInt64: {
        bool ok = false;
        const qulonglong v = text.trimmed().toULongLong(&ok, 0);
        if (!ok || text.trimmed().startsWith(QLatin1Char('-')))
            return fail(expected);
        value = QVariant::fromValue(v);
        return true;
    }
    case Kind::Bool: {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("1"))
            value = true;
        else if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0"))
            value = false;
        else
            return fail(expected);
        return true;
    }
    case Kind::Double:
    case Kind::Float: {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (!ok)
            return fail(expected);
        value = v;
        return true;
    }
    case Kind::String:
    case Kind::CString:
        value = text;
        return true;
    case Kind::StringList:
    case Kind::CStringList:
        value = text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
        return true;
    case Kind::IntList: {
        QList<int> list;
        for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            QVariant v;
            if (!parseInteger(part, INT32_MIN, INT32_MAX, v))
                return fail(expected);
            list << v.toInt();
        }
        value = QVariant::fromValue(list);
        return true;
    }
    case Kind::ByteArray:
        value = text.toUtf8();
        return true;
    case Kind::Raw:
        break;
    }
    return fail(
        QStringLiteral("cannot convert an argument to type %1").arg(QString::fromLatin1(type)));
}

QStringList toText(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>()) {
        const QList<int> ints = qdbus_cast<QList<int>>(value.value<QDBusArgument>());
        QStringList lines;
        for (int i : ints)
            lines << QString::number(i);
        return lines;
    }
    if (value.userType() == qMetaTypeId<QList<int>>()) {
        QStringList lines;
        for (int i : value.value<QList<int>>())
            lines << QString::number(i);
        return lines;
    }
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList();
    if (value.userType() == QMetaType::Bool)
        return {value.toBool() ? QStringLiteral("true") : QStringLiteral("false")};
    if (value.userType() == QMetaType::UChar)
        return {QString::number(value.toUInt())};
    if (value.userType() == QMetaType::QByteArray)
        return {QString::fromUtf8(value.toByteArray().toHex(' '))};
    return {value.toString()};
}

} // namespace DCOPTypes
