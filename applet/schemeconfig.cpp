// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemeconfig.h"
#include "boundedfile.h"

#include "powerdaemon/assignmentline.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/replacefile.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/switchlock.h"

#include <QFile>

#include <cstdio>
#include <string_view>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void complain(const QByteArray& text)
{
    std::fprintf(stderr, "ovraapplet: %s\n", text.constData());
}

} // namespace

QByteArray readSchemeValue(const QByteArray& text, const QByteArray& key)
{
    return QByteArray::fromStdString(
        powerdaemon::readSchemeKey(powerdaemon::Rules::Applet, view(text), view(key)));
}

bool isSafeSchemeValue(const QByteArray& value)
{
    return powerdaemon::isSafeSchemeName(view(value));
}

QByteArray setSchemeValue(const QByteArray& text, const QByteArray& key, const QByteArray& value)
{
    return QByteArray::fromStdString(powerdaemon::setKeyValue(view(text), view(key), view(value)));
}

SchemeWrite writeSchemeValue(const char* fileName, const QByteArray& key, const QByteArray& value)
{
    if (!isSafeSchemeValue(value)) {
        complain("scheme name not written to " + QByteArray(fileName) +
                 " (a name holds only letters, digits, \".\", \"_\", \"+\" and \"-\"): " + value);
        return SchemeWrite::Refused;
    }
    // One switch at a time, from the read to the rename.
    const powerdaemon::SwitchLock lock;
    if (!lock.held()) {
        complain(QByteArray::fromStdString(lock.reason()));
        return SchemeWrite::Failed;
    }
    // Read-only: opening for writing would create a missing file empty.
    QFile file(QString::fromLocal8Bit(fileName));
    if (!file.exists()) {
        complain("configuration " + QByteArray(fileName) + " is missing; not created");
        return SchemeWrite::Failed;
    }
    QByteArray why;
    const std::optional<QByteArray> read = readConfigText(fileName, &why);
    if (!read) {
        complain(why);
        return SchemeWrite::Failed;
    }
    const QByteArray& text = *read;
    const QByteArray updated = setSchemeValue(text, key, value);
    if (updated == text) {
        return powerdaemon::keyValues(view(text), view(key)).empty() ? SchemeWrite::NoKey
                                                                     : SchemeWrite::Written;
    }
    if (const auto failure = powerdaemon::replaceFileContents(fileName, view(updated))) {
        complain(QByteArray::fromStdString(failure->message()));
        return SchemeWrite::Failed;
    }
    return SchemeWrite::Written;
}
