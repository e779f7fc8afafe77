// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// UPower's property maps (GetAll's answer, PropertiesChanged's changes) into
// what the gauge reads. A property of a type other than UPower's is left as
// it was: the service's word is taken only in the form it is documented in.

#include "deviceproperties.h"

#include <QVariantMap>

#include <optional>

namespace upower {

// Takes the device's properties that the map holds.
void takeDeviceProperties(DeviceProperties& device, const QVariantMap& properties);

// The manager's OnBattery in the map, if it holds one.
std::optional<bool> onBatteryIn(const QVariantMap& properties);

} // namespace upower
