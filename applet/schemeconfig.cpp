// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemeconfig.h"
#include "appletnotices.h"

#include "powerdaemon/configtext.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemeswitch.h"
#include "schemes/bytesview.h"
#include "schemes/switchwords.h"

using schemes::bytesView;

QByteArray setSchemeValue(const QByteArray& text, const QByteArray& key, const QByteArray& value)
{
    return QByteArray::fromStdString(
        powerdaemon::setKeyValue(bytesView(text), bytesView(key), bytesView(value)));
}

SchemeWrite writeSchemeValue(const char* fileName, const QByteArray& key, const QByteArray& value)
{
    powerdaemon::SwitchRequest request{powerdaemon::Rules::Applet, std::nullopt, std::nullopt};
    (key == powerdaemon::BatterySchemeKey ? request.batteryScheme : request.acScheme) =
        value.toStdString();
    const powerdaemon::SwitchReport report = powerdaemon::writeSchemeKeys(request, fileName);
    const std::optional<QString> problem =
        report.refused ? schemes::unsafeNameText(value) : schemes::fileProblem(report);
    if (problem) {
        notices::logLine(*problem);
    }
    if (report.refused) {
        return SchemeWrite::Refused;
    }
    switch (report.saved) {
    case powerdaemon::SwitchReport::Saved::Yes:
        return SchemeWrite::Written;
    case powerdaemon::SwitchReport::Saved::NoKey:
        return SchemeWrite::NoKey;
    case powerdaemon::SwitchReport::Saved::Failed:
        break;
    }
    return SchemeWrite::Failed;
}
