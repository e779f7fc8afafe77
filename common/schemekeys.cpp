// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemekeys.h"
#include "powersavepaths.h"

#include "powerdaemon/assignmentline.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/schemerules.h"
#include "schemes/bytesview.h"
#include "schemes/switchwords.h"

namespace {

using schemes::bytesView;

QString capitalised(QString text)
{
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

void readLastValue(const QByteArray& text, const char* key, QByteArray& variable)
{
    const std::string value =
        powerdaemon::readSchemeKey(powerdaemon::Rules::Popup, bytesView(text), key);
    if (!value.empty()) {
        variable = QByteArray::fromStdString(value);
    }
}

QByteArray withKeySet(const QByteArray& text, const char* key,
                      const std::optional<QByteArray>& value)
{
    if (!value) {
        return text;
    }
    return QByteArray::fromStdString(
        powerdaemon::setKeyValue(bytesView(text), key, bytesView(*value)));
}

bool keyGiven(const QByteArray& text, const char* key, const std::optional<QByteArray>& value)
{
    if (!value) {
        return true;
    }
    for (const auto& given : powerdaemon::keyValues(bytesView(text), key)) {
        if (given && *given == bytesView(*value)) {
            return true;
        }
    }
    return false;
}

void requireSafe(const std::optional<QByteArray>& name)
{
    if (name && !powerdaemon::isSafeSchemeName(bytesView(*name))) {
        throw UnsafeSchemeName(*name);
    }
}

} // namespace

UnsafeSchemeName::UnsafeSchemeName(const QByteArray& name)
    : std::runtime_error(capitalised(schemes::unsafeNameText(name)).toLocal8Bit().toStdString())
{
}

void ReadSchemeKeys(const QByteArray& text, QByteArray& acScheme, QByteArray& batteryScheme)
{
    readLastValue(text, powerdaemon::AcSchemeKey, acScheme);
    readLastValue(text, powerdaemon::BatterySchemeKey, batteryScheme);
}

QByteArray UpdateSchemeKeysText(const QByteArray& text, const std::optional<QByteArray>& acScheme,
                                const std::optional<QByteArray>& batteryScheme)
{
    requireSafe(acScheme);
    requireSafe(batteryScheme);
    return withKeySet(withKeySet(text, powerdaemon::AcSchemeKey, acScheme),
                      powerdaemon::BatterySchemeKey, batteryScheme);
}

bool SchemeKeysGiven(const QByteArray& text, const std::optional<QByteArray>& acScheme,
                     const std::optional<QByteArray>& batteryScheme)
{
    return keyGiven(text, powerdaemon::AcSchemeKey, acScheme) &&
           keyGiven(text, powerdaemon::BatterySchemeKey, batteryScheme);
}
