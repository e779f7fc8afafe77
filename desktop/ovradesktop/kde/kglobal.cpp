// SPDX-License-Identifier: GPL-2.0-or-later
#include "kglobal.h"

#include "klocale.h"

KLocale* KGlobal::locale()
{
    // Lives until the process ends: applets use it from their own destructors.
    static KLocale* theLocale = new KLocale;
    return theLocale;
}
