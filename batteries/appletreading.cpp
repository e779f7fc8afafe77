// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletreading.h"
#include "numbertext.h"
#include "readingrules.h"
#include "statefile.h"

#include <cstddef>

namespace batteries {

namespace {

bool contains(std::string_view line, std::string_view word)
{
    return line.find(word) != std::string_view::npos;
}

// The value of a reading: the line less its label's length at the front and
// less the unit's length at the end (the whole rest when it is shorter than
// that), without surrounding blanks.
std::string_view cutReading(std::string_view line, std::size_t labelLength, std::size_t unitLength)
{
    std::string_view value = line.substr(labelLength);
    if (value.size() >= unitLength) {
        value.remove_suffix(unitLength);
    }
    return withoutBlanks(value);
}

// Stores the readings of a state file's text into info; true when at least
// one of them gave a value.
bool readValues(std::string_view text, BatteryInfo& info)
{
    // Each reading: its label, the length of the unit behind the number,
    // and where the converted value goes.
    struct Reading
    {
        Label label;
        std::size_t unitLength;
        int* whole;
        float* capacity;
    };
    const Reading readings[] = {
        {Label::AverageTimeToEmpty, 5, &info.toNulltime, nullptr},
        {Label::AverageTimeToFull, 5, &info.toFulltime, nullptr},
        {Label::RelativeStateOfCharge, 1, &info.perC, nullptr},
        {Label::RemainingCapacity, 3, nullptr, &info.nowC},
        {Label::FullChargeCapacity, 3, nullptr, &info.lastFullC},
    };

    // A matching test replaces the line by its cut text, which the tests
    // after it see.
    bool stored = false;
    forEachStateLine(Rules::Applet, text, [&](std::string_view line) {
        for (const Reading& reading : readings) {
            const std::string_view label = labelText(reading.label);
            if (!contains(line, label)) {
                continue;
            }
            line = cutReading(line, label.size(), reading.unitLength);
            if (line.empty()) {
                continue;
            }
            if (reading.whole) {
                *reading.whole = qtInt(line);
            } else {
                *reading.capacity = qtFloat(line);
            }
            stored = true;
        }
    });
    return stored;
}

} // namespace

PowerState readStatus(std::string_view text)
{
    PowerState state{-1, false};
    forEachStateLine(Rules::Applet, text, [&](std::string_view line) {
        if (contains(line, labelText(Label::ACAttached))) {
            for (int i = 0; i < 2; ++i) {
                if (contains(line, MainsWords[i])) {
                    state.acIndex = i;
                }
            }
        } else if (contains(line, labelText(Label::FullyCharged))) {
            if (!contains(line, "0")) {
                state.fullyCharged = true;
            }
        }
    });
    return state;
}

Bay bayOf(std::optional<std::string_view> text)
{
    Bay bay;
    bay.present = true;
    bool anyValue = false;
    BatteryInfo info{};
    if (text) {
        bay.power = readStatus(*text);
        anyValue = readValues(*text, info);
    }
    setStatus(info, statusIndexOf(bay.power));
    bay.info = info;
    bay.known = bay.power.acIndex >= 0 || anyValue;
    return bay;
}

} // namespace batteries
