// SPDX-License-Identifier: GPL-2.0-or-later
#include "fontconfigwarmup.h"

#include <fontconfig/fontconfig.h>

void warmUpFontConfig()
{
    FcInit();
}
