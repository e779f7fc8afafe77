// SPDX-License-Identifier: GPL-2.0-or-later
#include "batterystatetext.h"
#include "UPMComm.h"

#include "batteries/popupreading.h"

namespace {

using batteries::Label;

// A whole number followed directly by one unit character ("87%", "37x").
qint32 numberBeforeLastCharacter(const QByteArray& value)
{
    return StrToIntSafe(value.left(value.size() - 1));
}

void store(Label field, const QByteArray& value, RBatState& rec)
{
    QByteArray unit; // units are split off and dropped
    switch (field) {
    case Label::FullChargeCapacity:
        rec.FullChargeCapacityText = value;
        SplitFloatUnit(value, rec.FullChargeCapacity, unit);
        break;
    case Label::ACAttached:
        rec.ACAttachedText = value;
        rec.ACState =
            batteries::isMainsValue({value.constData(), std::size_t(value.size())}) ? 0 : 1;
        break;
    case Label::RemainingCapacity:
        rec.RemainingCapacityText = value;
        SplitFloatUnit(value, rec.RemainingCapacity, unit);
        break;
    case Label::Voltage:
        rec.VoltageText = value;
        break;
    case Label::Temperature:
        rec.TemperatureText = value;
        break;
    case Label::Current:
        rec.CurrentText = value;
        break;
    case Label::RunTimeToEmpty:
        SplitIntUnit(value, rec.RunTimeToEmpty, unit);
        break;
    case Label::AverageTimeToFull:
        SplitIntUnit(value, rec.AverageTimeToFull, unit);
        break;
    case Label::AverageTimeToEmpty:
        SplitIntUnit(value, rec.AverageTimeToEmpty, unit);
        break;
    case Label::RelativeStateOfCharge:
        rec.RelativeStateOfChargeText = value;
        rec.RelativeStateOfCharge = numberBeforeLastCharacter(value);
        break;
    case Label::FullyCharged:
        rec.FullyCharged = numberBeforeLastCharacter(value);
        break;
    case Label::CycleCount:
        rec.CycleCountText = value;
        rec.CycleCount = numberBeforeLastCharacter(value);
        break;
    }
}

} // namespace

void ParseBatState(const QByteArray& text, RBatState& rec)
{
    const std::string_view bytes(text.constData(), std::size_t(text.size()));
    batteries::forEachPopupValue(bytes, [&rec](Label label, std::string_view value) {
        store(label, QByteArray(value.data(), qsizetype(value.size())), rec);
    });
    rec.RemainingTime = rec.ACState == 1 ? rec.AverageTimeToEmpty : rec.AverageTimeToFull;
}
