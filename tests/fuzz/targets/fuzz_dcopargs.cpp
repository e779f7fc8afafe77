// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the DCOP types (desktop/dcoptypes, dcopconversion):
// a DCOP encoding decoded (an object's reply, an applet's arguments), and
// the dcop command's argument text converted. The input's first byte picks
// the type by one of its spellings; the rest is read as the encoded value
// and as the argument text.
#include "fuzzcheck.h"

#include "dcoptypes.h"

#include <QDataStream>
#include <QIODevice>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

using fuzzcheck::require;

// The spellings the KDE 3 headers and Qt use, and two types without a
// mapping of their own.
const QList<QByteArray> spellings{"void",
                                  "ASYNC",
                                  "char",
                                  "Q_INT8",
                                  "qint8",
                                  "uchar",
                                  "unsigned char",
                                  "Q_UINT8",
                                  "quint8",
                                  "short",
                                  "Q_INT16",
                                  "qint16",
                                  "ushort",
                                  "unsigned short",
                                  "Q_UINT16",
                                  "quint16",
                                  "int",
                                  "Q_INT32",
                                  "qint32",
                                  "uint",
                                  "unsigned",
                                  "unsigned int",
                                  "Q_UINT32",
                                  "quint32",
                                  "Q_INT64",
                                  "qint64",
                                  "qlonglong",
                                  "long long",
                                  "Q_UINT64",
                                  "quint64",
                                  "qulonglong",
                                  "unsigned long long",
                                  "bool",
                                  "double",
                                  "float",
                                  "QString",
                                  "QCString",
                                  "QByteArray",
                                  "QStringList",
                                  "QCStringList",
                                  "QValueList<QCString>",
                                  "QList<QByteArray>",
                                  "QValueList<int>",
                                  "QList<int>",
                                  "QRect",
                                  "KURL"};

std::optional<QByteArray> encoded(const QByteArray& type, const QVariant& value)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    if (!DCOPTypes::encode(type, value, out)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<QVariant> decoded(const QByteArray& type, const QByteArray& bytes)
{
    QDataStream in(bytes);
    QVariant value;
    if (!DCOPTypes::decode(type, in, value)) {
        return std::nullopt;
    }
    return value;
}

// A decoded value encodes, and decodes again to the same encoding.
void checkDecode(const QByteArray& type, const QByteArray& bytes)
{
    const auto value = decoded(type, bytes);
    if (!value) {
        return;
    }
    require(!DCOPTypes::isVoid(type), "void has no value");
    const auto first = encoded(type, *value);
    require(first.has_value(), "a decoded value encodes");
    const auto again = decoded(type, *first);
    require(again.has_value(), "an encoded value decodes");
    require(encoded(type, *again) == first, "a value keeps its encoding");
    DCOPTypes::toText(*value);
    // D-Bus may hand any value for a parameter; none may upset the encoder.
    for (const QByteArray& other : spellings) {
        encoded(other, *value);
    }
}

// An argument the dcop command accepts reaches the object as that value
// (a float as the nearest float).
void checkText(const QByteArray& type, const QString& text)
{
    QVariant value;
    QString error;
    if (!DCOPTypes::fromText(type, text, value, &error)) {
        require(!error.isEmpty(), "a refused argument says why");
        return;
    }
    const auto bytes = encoded(type, value);
    require(bytes.has_value(), "an accepted argument encodes");
    const auto received = decoded(type, *bytes);
    require(received.has_value(), "an accepted argument decodes");
    const QVariant expected = type == "float" ? QVariant(double(float(value.toDouble()))) : value;
    require(DCOPTypes::toText(*received) == DCOPTypes::toText(expected),
            "an accepted argument arrives as given");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    DCOPTypes::registerMetaTypes();
    const int index = data[0] % spellings.size();
    const QByteArray& type = spellings.at(index);
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    require(DCOPTypes::isKnown(type) == (index < spellings.size() - 2),
            "the spellings of the type list have a mapping");
    checkDecode(type, rest);
    checkText(type, QString::fromUtf8(rest));
    return 0;
}
