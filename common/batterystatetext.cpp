// SPDX-License-Identifier: GPL-2.0-or-later
#include "batterystatetext.h"
#include "UPMComm.h"
#include "keyline.h"
#include "textlines.h"

#include <QByteArrayView>

namespace {

enum class Field
{
    FullChargeCapacity,
    ACAttached,
    RemainingCapacity,
    Voltage,
    Temperature,
    Current,
    RunTimeToEmpty,
    AverageTimeToFull,
    AverageTimeToEmpty,
    RelativeStateOfCharge,
    FullyCharged,
    CycleCount,
};

struct Label
{
    QByteArrayView text;
    Field field;
};

// Tested in this order; the first label a line holds decides.
constexpr Label Labels[] = {
    {"FullChargeCapacity", Field::FullChargeCapacity},
    {"AC attached", Field::ACAttached},
    {"RemainingCapacity", Field::RemainingCapacity},
    {"Voltage", Field::Voltage},
    {"Temperature", Field::Temperature},
    {"Current", Field::Current},
    {"RunTimeToEmpty", Field::RunTimeToEmpty},
    {"AverageTimeToFull", Field::AverageTimeToFull},
    {"AverageTimeToEmpty", Field::AverageTimeToEmpty},
    {"RelativeStateofCharge", Field::RelativeStateOfCharge},
    {"FullyCharged", Field::FullyCharged},
    {"Cycle Count", Field::CycleCount},
};

// Whether the line holds the label directly followed by a colon, anywhere in
// it. A line has few colons, so the label is compared only before each of
// them: most lines hold none of the labels, and testing them copies nothing.
bool holdsLabel(const QByteArray& line, QByteArrayView label)
{
    for (qsizetype colon = line.indexOf(':'); colon >= 0; colon = line.indexOf(':', colon + 1)) {
        if (colon >= label.size() &&
            QByteArrayView(line.constData() + colon - label.size(), label.size()) == label) {
            return true;
        }
    }
    return false;
}

// A whole number followed directly by one unit character ("87%", "37x").
qint32 numberBeforeLastCharacter(const QByteArray& value)
{
    return StrToIntSafe(value.left(value.size() - 1));
}

void store(Field field, const QByteArray& value, RBatState& rec)
{
    QByteArray unit; // units are split off and dropped
    switch (field) {
    case Field::FullChargeCapacity:
        rec.FullChargeCapacityText = value;
        SplitFloatUnit(value, rec.FullChargeCapacity, unit);
        break;
    case Field::ACAttached:
        rec.ACAttachedText = value;
        rec.ACState = value == "Yes" ? 0 : 1;
        break;
    case Field::RemainingCapacity:
        rec.RemainingCapacityText = value;
        SplitFloatUnit(value, rec.RemainingCapacity, unit);
        break;
    case Field::Voltage:
        rec.VoltageText = value;
        break;
    case Field::Temperature:
        rec.TemperatureText = value;
        break;
    case Field::Current:
        rec.CurrentText = value;
        break;
    case Field::RunTimeToEmpty:
        SplitIntUnit(value, rec.RunTimeToEmpty, unit);
        break;
    case Field::AverageTimeToFull:
        SplitIntUnit(value, rec.AverageTimeToFull, unit);
        break;
    case Field::AverageTimeToEmpty:
        SplitIntUnit(value, rec.AverageTimeToEmpty, unit);
        break;
    case Field::RelativeStateOfCharge:
        rec.RelativeStateOfChargeText = value;
        rec.RelativeStateOfCharge = numberBeforeLastCharacter(value);
        break;
    case Field::FullyCharged:
        rec.FullyCharged = numberBeforeLastCharacter(value);
        break;
    case Field::CycleCount:
        rec.CycleCountText = value;
        rec.CycleCount = numberBeforeLastCharacter(value);
        break;
    }
}

} // namespace

void ParseBatState(const QByteArray& text, RBatState& rec)
{
    for (const QByteArray& line : SplitTextLines(text)) {
        for (const Label& label : Labels) {
            if (!holdsLabel(line, label.text)) {
                continue;
            }
            QByteArray value;
            if (ParseLabelLine(line, label.text.toByteArray(), value)) {
                store(label.field, value, rec);
                break;
            }
        }
    }
    rec.RemainingTime = rec.ACState == 1 ? rec.AverageTimeToEmpty : rec.AverageTimeToFull;
}
