// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A profile as people know it from their desktops: "Power Saver",
// "Balanced", "Performance", in the catalogue OvraIface; a profile id the
// product does not know is shown as it is.

#include <QByteArray>
#include <QString>

namespace powerprofiles {

QString profileLabel(const QByteArray& id);

} // namespace powerprofiles
