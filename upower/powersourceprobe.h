// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UPower as the popup's battery source: the popup asks the power source
// once per showing, so each powerSource() asks UPower's OnBattery once,
// waiting at most Bound, and answers Unknown without an answer in time. The
// popup reads no bay from it; every bay is empty.

#include "batteries/source.h"

#include <chrono>

namespace upower {

class PowerSourceProbe final : public batteries::Source
{
public:
    static constexpr std::chrono::milliseconds Bound{500};

    batteries::PowerReading powerSource() override;
    batteries::Bay bay(int index) override;
};

} // namespace upower
