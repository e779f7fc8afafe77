// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over DCOP function signatures (desktop/dcopsignature), as
// an object's function list and the dcop command's FUN argument give them.
// The input is one entry of a function list.
#include "fuzzcheck.h"

#include "dcopsignature.h"
#include "dcoptypes.h"

#include <cctype>
#include <cstddef>
#include <cstdint>

namespace {

using fuzzcheck::require;

bool isIdentifier(const QByteArray& word)
{
    if (word.isEmpty() || std::isdigit(static_cast<unsigned char>(word.at(0)))) {
        return false;
    }
    for (const char c : word) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return true;
}

// The entry written back with a name for every parameter.
QByteArray entryOf(const DCOPSignature& sig)
{
    QByteArray entry = sig.replyType + ' ' + sig.name + '(';
    for (int i = 0; i < sig.argTypes.size(); ++i) {
        if (i) {
            entry += ", ";
        }
        const QByteArray name =
            sig.argNames.at(i).isEmpty() ? "arg" + QByteArray::number(i) : sig.argNames.at(i);
        entry += sig.argTypes.at(i) + ' ' + name;
    }
    return entry + ')';
}

// A type ending in a word of its own after a blank, "*" or "&" ("struct
// Foo", "Foo*Bar") reads, without a name beside it, as a type and a name;
// the call by signature leaves such types out. The words of the built-in
// types ("unsigned int") are no names.
bool endsInSeparateWord(const QByteArray& type)
{
    static const QList<QByteArray> typeWords{"int",   "long", "short",    "char",   "double",
                                             "float", "bool", "unsigned", "signed", "void"};
    int cut = type.size();
    while (cut > 0 && (std::isalnum(static_cast<unsigned char>(type.at(cut - 1))) ||
                       type.at(cut - 1) == '_')) {
        --cut;
    }
    const QByteArray word = type.mid(cut);
    const bool separated =
        cut > 0 && (type.at(cut - 1) == ' ' || type.at(cut - 1) == '*' || type.at(cut - 1) == '&');
    return separated && isIdentifier(word) && !typeWords.contains(word);
}

// A type as C++ spells one: identifiers, "::", template brackets that close,
// "*", "&" and blanks, and neither nothing nor the bare "const". The round trips below
// hold for these; other bytes (parentheses, commas outside brackets) cut
// the entry differently once written out.
bool isWellFormedType(const QByteArray& type)
{
    int depth = 0;
    for (const char c : type) {
        if (c == '<') {
            ++depth;
        } else if (c == '>' && --depth < 0) {
            return false;
        } else if (c == ',' && depth == 0) {
            return false;
        } else if (!std::isalnum(static_cast<unsigned char>(c)) &&
                   !QByteArray("_: *&,<>").contains(c)) {
            return false;
        }
    }
    return depth == 0 && !type.isEmpty() && type != "const";
}

void checkValid(const DCOPSignature& sig)
{
    require(isIdentifier(sig.name), "a function's name is an identifier");
    require(sig.argTypes.size() == sig.argNames.size(), "every parameter has a type and a name");
    require(normalizedDcopType(sig.replyType) == sig.replyType, "the reply type is normalized");
    bool wellFormed = isWellFormedType(sig.replyType);
    bool separateWords = false;
    for (int i = 0; i < sig.argTypes.size(); ++i) {
        const QByteArray& type = sig.argTypes.at(i);
        require(!type.isEmpty(), "a parameter has a type");
        require(normalizedDcopType(type) == type, "a parameter type is normalized");
        require(sig.argNames.at(i).isEmpty() || isIdentifier(sig.argNames.at(i)),
                "a parameter name is an identifier or none");
        wellFormed = wellFormed && isWellFormedType(type);
        separateWords = separateWords || endsInSeparateWord(type);
        DCOPTypes::dbusSignature(type);
    }
    if (!wellFormed) {
        return;
    }

    // The entry written out again reads as the same function.
    const DCOPSignature again = DCOPSignature::parse(entryOf(sig));
    require(again.valid && again.name == sig.name && again.replyType == sig.replyType &&
                again.argTypes == sig.argTypes && again.argNames.size() == sig.argNames.size(),
            "an entry written out reads back");

    // The dcop command finds a function by "name(types)".
    if (!separateWords) {
        const DCOPSignature call = DCOPSignature::parse("void " + sig.matchForm());
        require(call.valid && call.matchForm() == sig.matchForm(),
                "a function is found by its signature");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray entry(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DCOPSignature sig = DCOPSignature::parse(entry);
    if (sig.valid) {
        checkValid(sig);
    }
    const QByteArray type = normalizedDcopType(entry);
    require(normalizedDcopType(type) == type, "normalizing a type twice changes nothing");
    return 0;
}
