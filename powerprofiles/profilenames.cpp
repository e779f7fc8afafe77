// SPDX-License-Identifier: GPL-2.0-or-later
#include "profilenames.h"

#include "schemes/catalogue.h"

namespace powerprofiles {

QString profileLabel(const QByteArray& id)
{
    using schemes::translated;
    if (id == "power-saver") {
        // TRANSLATORS: a power profile, as desktops name it.
        return translated(I18N_NOOP("Power Saver"));
    }
    if (id == "balanced") {
        // TRANSLATORS: a power profile, as desktops name it.
        return translated(I18N_NOOP("Balanced"));
    }
    if (id == "performance") {
        // TRANSLATORS: a power profile, as desktops name it.
        return translated(I18N_NOOP("Performance"));
    }
    return QString::fromUtf8(id);
}

} // namespace powerprofiles
