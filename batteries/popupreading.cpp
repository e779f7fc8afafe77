// SPDX-License-Identifier: GPL-2.0-or-later
#include "popupreading.h"
#include "readingrules.h"

namespace batteries {

namespace {

// The popup's labels in the order they are tested.
constexpr Label PopupLabels[] = {
    Label::FullChargeCapacity, Label::ACAttached,
    Label::RemainingCapacity,  Label::Voltage,
    Label::Temperature,        Label::Current,
    Label::RunTimeToEmpty,     Label::AverageTimeToFull,
    Label::AverageTimeToEmpty, Label::RelativeStateOfCharge,
    Label::FullyCharged,       Label::CycleCount,
};

std::string_view withoutLeadingControls(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::optional<std::string_view> labelLineValue(std::string_view line,
                                               std::string_view labelWithColon)
{
    if (line.find(labelWithColon) == std::string_view::npos) {
        return std::nullopt;
    }
    return withoutLeadingControls(line.substr(labelWithColon.size()));
}

void forEachPopupValue(std::string_view text, const std::function<void(Label, std::string_view)>& f)
{
    forEachStateLine(Rules::Popup, text, [&](std::string_view line) {
        for (const Label label : PopupLabels) {
            if (const auto value = labelLineValue(line, labelText(label))) {
                f(label, *value);
                return;
            }
        }
    });
}

bool isMainsValue(std::string_view value)
{
    return value == MainsWords[0];
}

PowerSource popupPowerSource(std::string_view text)
{
    PowerSource source = PowerSource::Battery;
    forEachPopupValue(text, [&source](Label label, std::string_view value) {
        if (label == Label::ACAttached) {
            source = isMainsValue(value) ? PowerSource::Mains : PowerSource::Battery;
        }
    });
    return source;
}

} // namespace batteries
