// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemekeys.h"
#include "powersavepaths.h"

#include "powerdaemon/assignmentline.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/schemerules.h"

#include <string_view>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void readLastValue(const QByteArray& text, const char* key, QByteArray& variable)
{
    const std::string value =
        powerdaemon::readSchemeKey(powerdaemon::Rules::Popup, view(text), key);
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
    return QByteArray::fromStdString(powerdaemon::setKeyValue(view(text), key, view(*value)));
}

bool keyGiven(const QByteArray& text, const char* key, const std::optional<QByteArray>& value)
{
    if (!value) {
        return true;
    }
    for (const auto& given : powerdaemon::keyValues(view(text), key)) {
        if (given && *given == view(*value)) {
            return true;
        }
    }
    return false;
}

void requireSafe(const std::optional<QByteArray>& name)
{
    if (name && !powerdaemon::isSafeSchemeName(view(*name))) {
        throw UnsafeSchemeName(*name);
    }
}

} // namespace

UnsafeSchemeName::UnsafeSchemeName(const QByteArray& name)
    : std::runtime_error("Scheme name not written to " + std::string(powerdaemon::CommonFile) +
                         " (a name holds only letters, digits, \".\", \"_\", \"+\" and \"-\"): " +
                         name.toStdString())
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
