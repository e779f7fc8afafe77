// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the file formats: key lines in both modes, the key
// update with its read-back, and the battery state reader.
#include "BatteryStateText.h"
#include "SchemeKeys.h"
#include "TextLines.h"
#include "UPMComm.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// The input's first byte chooses how much of the rest is the key or label.
void fuzzKeyLines(const QByteArray& input)
{
    const QByteArray key = input.mid(1, input.isEmpty() ? 0 : uchar(input[0]) % 24);
    const QByteArray rest = input.mid(1 + key.size());
    for (const QByteArray& line : SplitTextLines(rest)) {
        for (const int mode : {0, 1}) {
            QByteArray value = "unchanged";
            if (ParseKeyLine(line, key, value, mode)) {
                require(value.size() < line.size());
            } else {
                require(value == "unchanged");
            }
        }
    }
}

void fuzzKeyUpdate(const QByteArray& input)
{
    const QByteArray updated = UpdateSchemeKeysText(input, "presentation", "powersave");
    // Same line feeds, the last line's end as it was; a second update
    // changes nothing.
    require(updated.count('\n') == input.count('\n'));
    require(updated.endsWith('\n') == input.endsWith('\n'));
    require(UpdateSchemeKeysText(updated, "presentation", "powersave") == updated);

    QByteArray ac, battery;
    ReadSchemeKeys(input, ac, battery);
    ReadSchemeKeys(updated, ac, battery);
}

void fuzzBatteryState(const QByteArray& input)
{
    RBatState rec;
    ParseBatState(input, rec);
    require(rec.ACState == 0 || rec.ACState == 1);
    require(rec.ACState != 0 || rec.ACAttachedText == "Yes");
    qint32 number = 0;
    double real = 0;
    QByteArray unit;
    SplitIntUnit(input, number, unit);
    SplitFloatUnit(input, real, unit);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    fuzzKeyLines(input);
    fuzzKeyUpdate(input);
    fuzzBatteryState(input);
    return 0;
}
