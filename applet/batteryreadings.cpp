// SPDX-License-Identifier: GPL-2.0-or-later
#include "batteryreadings.h"

#include "boundedfile.h"
#include "comm.h"
#include "powerdaemon/boundedread.h"
#include "powerdaemon/linewalk.h"
#include "translated.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string_view>

#include <unistd.h>

namespace {

// Status text of a battery without a reading: the status table has no row
// for it.
constexpr char strStatusUnknown[] = I18N_NOOP("no battery reading");

// Indices into m_ArrayBatState.
constexpr int labelACAttached = 0;
constexpr int labelRelativeStateOfCharge = 13;
constexpr int labelRemainingCapacity = 14;
constexpr int labelFullChargeCapacity = 15;
constexpr int labelAverageTimeToEmpty = 17;
constexpr int labelAverageTimeToFull = 18;
constexpr int labelFullyCharged = 27;

// The path of battery n's state file.
struct StateFilePath
{
    explicit StateFilePath(int index) { std::snprintf(path, sizeof path, m_fBatFileState, index); }
    char path[32];
};

bool contains(std::string_view line, std::string_view word)
{
    return line.find(word) != std::string_view::npos;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The value of a reading: the line less its label's length at the front and
// less the unit's length at the end (the whole rest when it is shorter than
// that), without surrounding blanks.
std::string_view cutReading(std::string_view line, size_t labelLength, size_t unitLength)
{
    std::string_view value = line.substr(labelLength);
    if (value.size() >= unitLength) {
        value.remove_suffix(unitLength);
    }
    while (!value.empty() && isBlank(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && isBlank(value.back())) {
        value.remove_suffix(1);
    }
    return value;
}

std::string_view bytesView(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

QByteArray bytesOf(std::string_view text)
{
    return QByteArray::fromRawData(text.data(), int(text.size()));
}

// Stores the readings of a state file's text into info; true when at least
// one of them gave a value.
bool readValues(const QByteArray& text, BatteryInfo& info)
{
    // Each reading: its label, the length of the unit behind the number,
    // and where the converted value goes. A reading that does not convert
    // stores 0; an empty one leaves the field as it was.
    const auto toInt = [](int& field) {
        return [&field](const QByteArray& value) { field = value.toInt(nullptr, 10); };
    };
    const auto toFloat = [](float& field) {
        return [&field](const QByteArray& value) { field = value.toFloat(); };
    };
    struct Reading
    {
        int label;
        size_t unitLength;
        std::function<void(const QByteArray&)> store;
    };
    const Reading readings[] = {
        {labelAverageTimeToEmpty, 5, toInt(info.toNulltime)},
        {labelAverageTimeToFull, 5, toInt(info.toFulltime)},
        {labelRelativeStateOfCharge, 1, toInt(info.perC)},
        {labelRemainingCapacity, 3, toFloat(info.nowC)},
        {labelFullChargeCapacity, 3, toFloat(info.lastFullC)},
    };

    // A matching test replaces the line by its cut text, which the tests
    // after it see.
    bool stored = false;
    powerdaemon::forEachLineContent(bytesView(text), [&](std::string_view line) {
        for (const Reading& reading : readings) {
            const std::string_view label = m_ArrayBatState[reading.label];
            if (!contains(line, label)) {
                continue;
            }
            line = cutReading(line, label.size(), reading.unitLength);
            if (!line.empty()) {
                reading.store(bytesOf(line));
                stored = true;
            }
        }
    });
    return stored;
}

// The readings of a state file's text for a battery of the given status;
// anyValue tells whether the text gave one.
BatteryInfo valuesOf(const std::optional<QByteArray>& text, int status, bool& anyValue)
{
    BatteryInfo info{};
    info.status = status;
    info.bAC = status != 1;
    anyValue = text && readValues(*text, info);
    info.iTime = info.bAC ? info.toFulltime : info.toNulltime;
    return info;
}

} // namespace

namespace battery {

bool stateFileExists(int index)
{
    return access(StateFilePath(index).path, F_OK) == 0;
}

int countBatteries()
{
    int count = 0;
    for (int n = 0; n < 2; ++n) {
        if (stateFileExists(n)) {
            ++count;
        }
    }
    return count;
}

std::optional<QByteArray> readStateFile(int index)
{
    return readBoundedFile(StateFilePath(index).path, powerdaemon::BatteryFileLimit);
}

PowerState readStatus(const std::optional<QByteArray>& text)
{
    PowerState state{-1, false};
    if (text) {
        powerdaemon::forEachLineContent(bytesView(*text), [&](std::string_view line) {
            if (contains(line, m_ArrayBatState[labelACAttached])) {
                for (int i = 0; i < 2; ++i) {
                    if (contains(line, m_strACstatus[i])) {
                        state.acIndex = i;
                    }
                }
            } else if (contains(line, m_ArrayBatState[labelFullyCharged])) {
                if (!contains(line, "0")) {
                    state.fullyCharged = true;
                }
            }
        });
    }
    return state;
}

BatteryInfo infoOf(const std::optional<QByteArray>& text, int status)
{
    bool anyValue = false;
    return valuesOf(text, status, anyValue);
}

int statusIndexOf(const PowerState& power)
{
    if (power.fullyCharged && power.acIndex == 0) {
        return 2;
    }
    return power.acIndex;
}

Bay bayOf(const std::optional<QByteArray>& text)
{
    Bay bay;
    bay.present = true;
    bay.power = readStatus(text);
    bool anyValue = false;
    bay.info = valuesOf(text, statusIndexOf(bay.power), anyValue);
    bay.known = bay.power.acIndex >= 0 || anyValue;
    return bay;
}

Bay readBay(int index)
{
    if (index < 0 || !stateFileExists(index)) {
        return Bay();
    }
    return bayOf(readStateFile(index));
}

int batteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity)
{
    if (iCycleCount < 0) {
        return -1;
    }
    if (LastFullCapacity <= 0 || DesignCapacity <= 0) {
        return -2;
    }
    const qint64 iPerCapacity = qint64(LastFullCapacity) * 100 / DesignCapacity;
    if (iPerCapacity > 86) {
        return 0;
    }
    if (iPerCapacity > 64) {
        return 1;
    }
    return 2;
}

std::optional<int> combinedPercentage(const BatteryInfo& bat0, const BatteryInfo& bat1)
{
    const double full = double(bat1.lastFullC) + double(bat0.lastFullC);
    if (full == 0.0) {
        return std::nullopt;
    }
    const double per = (double(bat1.nowC) + double(bat0.nowC)) * 100.0 / full;
    if (!std::isfinite(per)) {
        return std::nullopt;
    }
    // Far outside 0..100 every value paints alike; the bound keeps the
    // conversion to int defined.
    return int(std::trunc(std::clamp(per, -1.0e6, 1.0e6)));
}

QString formatTime(int time1, int time2)
{
    qint64 time;
    if (time1 == -1) {
        time = time2;
    } else if (time2 == -1) {
        time = time1;
    } else {
        time = qint64(time1) + time2;
    }
    if (time < 1) {
        return QString();
    }

    const qint64 iHour = time / 60;
    const qint64 iMinute = time % 60;
    // TRANSLATORS: between hours and a one-digit minute, as in "2 : 05".
    const char* separator = iMinute <= 9 ? I18N_NOOP(" : 0") : I18N_NOOP(" : ");
    return QString::number(iHour) + translated(separator) + QString::number(iMinute);
}

QString formatPercentage(int per)
{
    // TRANSLATORS: behind the charge percentage, as in "87 %".
    return QString::number(per) + translated(I18N_NOOP(" %"));
}

QString statusText(int statusIndex)
{
    const bool known = statusIndex >= 0 && statusIndex <= 2;
    return translated(known ? m_strArrayBatStatus[statusIndex] : strStatusUnknown);
}

QString toolTipPercentage(std::optional<int> per)
{
    if (per) {
        return formatPercentage(*per);
    }
    // TRANSLATORS: the percentage of two batteries whose capacities are unknown.
    return translated(I18N_NOOP("? %"));
}

} // namespace battery
