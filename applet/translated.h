// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The applet's texts in the user's language: through its catalogue
// OvraIface (schemes/catalogue.h), not the process's default domain.

#include "comm.h"

#include "schemes/catalogue.h"

using schemes::translated;
