// SPDX-License-Identifier: GPL-2.0-or-later
#include "errorreporting.h"

#include "common/UPMComm.h"
#include "forms/errorbox.h"

void reportErrorsInBoxes()
{
    SetErrorPresenter(showErrorBoxOverActiveWindow);
}
