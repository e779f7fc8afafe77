// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the popup's reader of the battery module's state
// file (common/batterystatetext on batteries/popupreading) and the number
// conversions it uses. The input is the file's text.
#include "fuzzcheck.h"

#include "batteries/popupreading.h"
#include "common/UPMComm.h"
#include "common/batterystatetext.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

using fuzzcheck::require;

void checkState(const QByteArray& text)
{
    RBatState rec;
    ParseBatState(text, rec);
    require(rec.ACState == 0 || rec.ACState == 1, "the power source is mains or battery");
    require(rec.ACState != 0 || rec.ACAttachedText == "Yes", "mains power only on \"Yes\"");
    require(rec.RemainingTime ==
                (rec.ACState == 1 ? rec.AverageTimeToEmpty : rec.AverageTimeToFull),
            "the remaining time is the one of the power source");
    const std::string_view bytes(text.constData(), std::size_t(text.size()));
    require((batteries::popupPowerSource(bytes) == batteries::PowerSource::Mains) ==
                (rec.ACState == 0),
            "the power source alone reads as the whole record does");

    // Of two lines with one label the later wins, whatever came before.
    RBatState later;
    ParseBatState(text + "\nAC attached:    No\nRelativeStateofCharge:  42%\n", later);
    require(later.ACState == 1 && later.ACAttachedText == "No", "a later power line wins");
    require(later.RelativeStateOfCharge == 42, "a later charge line wins");
    require(later.RemainingTime == later.AverageTimeToEmpty, "on battery the time is to empty");
}

// A number written out reads back as itself.
void checkNumbers(const QByteArray& text)
{
    qint32 n = 0;
    std::memcpy(&n, text.leftJustified(sizeof n, '\0').constData(), sizeof n);
    require(StrToIntSafe(QByteArray::number(n)) == n, "a whole number reads back");
    QByteArray unit;
    qint32 number = 0;
    SplitIntUnit(QByteArray::number(n) + " mWh", number, unit);
    require(number == n && unit == "mWh", "a number and its unit split");

    double real = 0;
    SplitFloatUnit(text, real, unit);
    StrToIntSafe(text);
    StrToFloatSafe(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkState(text);
    checkNumbers(text);
    return 0;
}
