// SPDX-License-Identifier: GPL-2.0-or-later
#include "ErrorReporting.h"

#include "ErrorBox.h"
#include "UPMComm.h"

void reportErrorsInBoxes()
{
    SetErrorPresenter(showErrorBoxOverActiveWindow);
}
