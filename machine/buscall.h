// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Calls on the system bus the way both programs make them: a service's
// properties through org.freedesktop.DBus.Properties, and a call whose
// answer is waited for at most a bound, so that a service that owns its
// name and never answers costs no more than that.

#include "machine.h"

#include <QDBusMessage>
#include <QString>

#include <chrono>

namespace machine {

extern const QString PropertiesInterface;

// Properties.METHOD (Get, GetAll or Set) on object, its interface the first
// argument; the caller appends the rest.
QDBusMessage propertiesCall(const BusObject& object, const QString& method);

// The answer to call on the system bus, waited for at most bound; an error
// message when there is no bus, no answer in time or an error.
QDBusMessage callWithin(const QDBusMessage& call, std::chrono::milliseconds bound);

} // namespace machine
