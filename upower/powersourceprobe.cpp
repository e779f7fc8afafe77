// SPDX-License-Identifier: GPL-2.0-or-later
#include "powersourceprobe.h"

#include "bayreading.h"
#include "propertymap.h"

#include "machine/answersahead.h"
#include "machine/machine.h"

#include <QDBusMessage>

namespace upower {

batteries::PowerReading PowerSourceProbe::powerSource()
{
    batteries::PowerReading reading;
    const QDBusMessage reply = machine::answerAheadOrCall(machine::onBatteryQuestion(), Bound);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        const QVariantMap answer{{QStringLiteral("OnBattery"), reply.arguments().first()}};
        reading.source = powerSourceOf(onBatteryIn(answer));
    }
    return reading;
}

batteries::Bay PowerSourceProbe::bay(int)
{
    return batteries::Bay();
}

} // namespace upower
