// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopsignature.h"

#include <QSet>

#include <cctype>

namespace {

bool isIdentifier(const QByteArray& token)
{
    if (token.isEmpty() ||
        !(std::isalpha(static_cast<unsigned char>(token.at(0))) || token.at(0) == '_')) {
        return false;
    }
    for (char c : token) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) {
            return false;
        }
    }
    return true;
}

// Words that belong to a type and are never a parameter's name.
bool isTypeWord(const QByteArray& word)
{
    static const QSet<QByteArray> words{"int",  "long",     "short",  "char",  "double",   "float",
                                        "bool", "unsigned", "signed", "const", "volatile", "void"};
    return words.contains(word);
}

// What may stand between a parameter's type and its name.
bool isNameSeparator(char c)
{
    return c == ' ' || c == '*' || c == '&';
}

// Splits a parameter list at top-level commas (not inside template brackets).
QList<QByteArray> splitParameters(const QByteArray& list)
{
    QList<QByteArray> parts;
    int depth = 0;
    QByteArray current;
    for (char c : list) {
        if (c == '<' || c == '(') {
            ++depth;
        } else if (c == '>' || c == ')') {
            --depth;
        }
        if (c == ',' && depth == 0) {
            parts << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty() || !parts.isEmpty()) {
        parts << current.trimmed();
    }
    return parts;
}

} // namespace

QByteArray normalizedDcopType(const QByteArray& type)
{
    QByteArray t = type.simplified();
    // Every leading const, so that a normal form is its own normal form.
    while (t.startsWith("const ")) {
        t = t.mid(6);
    }
    while (t.endsWith('&') || t.endsWith(' ')) {
        t.chop(1);
    }
    t.replace("< ", "<");
    t.replace(" >", ">");
    t.replace(" ,", ",");
    t.replace(", ", ",");
    return t.trimmed();
}

DCOPSignature DCOPSignature::parse(const QByteArray& entry)
{
    DCOPSignature sig;
    const QByteArray text = entry.simplified();
    const int open = text.indexOf('(');
    const int close = text.lastIndexOf(')');
    if (open <= 0 || close < open) {
        return sig;
    }

    const QByteArray head = text.left(open).trimmed();
    const int nameStart = head.lastIndexOf(' ');
    sig.name = head.mid(nameStart + 1);
    sig.replyType = nameStart < 0 ? QByteArray("void") : normalizedDcopType(head.left(nameStart));
    if (!isIdentifier(sig.name)) {
        return sig;
    }

    for (QByteArray param : splitParameters(text.mid(open + 1, close - open - 1))) {
        const int defaultValue = param.indexOf('=');
        if (defaultValue >= 0) {
            param = param.left(defaultValue).trimmed();
        }
        // Separate a trailing name: "const QString& text" -> type "QString", name "text".
        // A name follows a blank, "*" or "&"; in "KURL::List" the last word
        // belongs to the type.
        QByteArray name;
        int cut = param.size();
        while (cut > 0 && (std::isalnum(static_cast<unsigned char>(param.at(cut - 1))) ||
                           param.at(cut - 1) == '_')) {
            --cut;
        }
        const QByteArray last = param.mid(cut);
        const QByteArray rest = param.left(cut).trimmed();
        if (!rest.isEmpty() && isNameSeparator(param.at(cut - 1)) && isIdentifier(last) &&
            !isTypeWord(last) && rest != "const") {
            name = last;
            param = rest;
        }
        const QByteArray type = normalizedDcopType(param);
        if (type.isEmpty()) {
            return sig;
        }
        sig.argTypes << type;
        sig.argNames << name;
    }
    sig.valid = true;
    return sig;
}

QByteArray DCOPSignature::matchForm() const
{
    QByteArray form = name + '(';
    for (int i = 0; i < argTypes.size(); ++i) {
        if (i) {
            form += ',';
        }
        form += argTypes.at(i);
    }
    return form + ')';
}
