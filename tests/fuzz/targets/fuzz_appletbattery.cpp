// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the applet's reader of the battery module's state
// files (batteries/appletreading) and what the gauge makes of the readings
// (applet/batteryreadings, applet/gaugeview). The input is bay 0's file; a NUL byte starts bay 1's.
#include "fuzzcheck.h"

#include "applet/batteryreadings.h"
#include "applet/gaugeview.h"
#include "batteries/appletreading.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

using fuzzcheck::require;

battery::Bay bayOf(const QByteArray& text)
{
    return batteries::bayOf(std::string_view(text.constData(), std::size_t(text.size())));
}

void checkBay(const battery::Bay& bay)
{
    const int acIndex = bay.power.acIndex;
    require(acIndex >= -1 && acIndex <= 1, "the power source is unknown, mains or battery");
    const int status = battery::statusIndexOf(bay.power);
    require(status >= -1 && status <= 2, "the status index is one of the four");
    require(status != 2 || (acIndex == 0 && bay.power.fullyCharged), "full only on mains");
    require(bay.info.status == status, "the readings have the file's status");
    require(bay.info.bAC == (status != 1), "on mains unless on the battery");
    require(bay.info.iTime == (bay.info.bAC ? bay.info.toFulltime : bay.info.toNulltime),
            "the time is the one of the power source");
    require(bay.known || acIndex == -1, "a file that tells the power source is known");
    battery::statusText(status);
    battery::formatTime(bay.info.toFulltime, bay.info.toNulltime);
}

// Of two lines with one label the later wins, whatever came before.
void checkLaterLinesWin(const QByteArray& text)
{
    const battery::Bay bay = bayOf(text + "\nAC attached:    No\nRelativeStateofCharge:  42%\n");
    require(bay.known && bay.power.acIndex == 1, "a later power line wins");
    require(bay.info.perC == 42, "a later charge line wins");
}

void checkView(const battery::Bay& bay0, const battery::Bay& bay1)
{
    const GaugeView view = battery::viewOf(bay0, bay1);
    require(view.batteries == int(bay0.present) + int(bay1.present), "every battery is shown");
    require(view.known == ((!bay0.present || bay0.known) && (!bay1.present || bay1.known)),
            "the view is known when every battery is");
    require(battery::sameToolTip(view, view), "a view has its own tool tip");
    require(battery::sameLook(view, view, true) && battery::sameLook(view, view, false),
            "a view looks like itself");
    require(!battery::toolTipOf(view).isEmpty(), "there is always a tool tip");
    battery::formatTime(view.time0, view.time1);
}

// The wear rating of three numbers of the input.
void checkLife(const QByteArray& text)
{
    int numbers[3] = {};
    std::memcpy(numbers, text.leftJustified(sizeof numbers, '\0').constData(), sizeof numbers);
    const int life = battery::batteryLife(numbers[0], numbers[1], numbers[2]);
    require(life >= -2 && life <= 2, "the wear rating is one of five");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = input.indexOf('\0');
    const QByteArray text0 = cut < 0 ? input : input.left(cut);
    const battery::Bay bay0 = bayOf(text0);
    const battery::Bay unreadable = batteries::bayOf(std::nullopt);
    checkBay(bay0);
    checkBay(unreadable);
    checkLaterLinesWin(text0);
    if (cut < 0) {
        checkView(bay0, battery::Bay());
        checkView(battery::Bay(), bay0);
        checkView(bay0, unreadable);
    } else {
        const battery::Bay bay1 = bayOf(input.mid(cut + 1));
        checkBay(bay1);
        checkView(bay0, bay1);
    }
    checkLife(input);
    return 0;
}
