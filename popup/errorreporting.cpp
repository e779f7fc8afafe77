// SPDX-License-Identifier: GPL-2.0-or-later
#include "errorreporting.h"

#include "UPMComm.h"
#include "errorbox.h"

void reportErrorsInBoxes()
{
    SetErrorPresenter(showErrorBoxOverActiveWindow);
}
