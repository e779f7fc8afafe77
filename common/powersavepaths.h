// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Fixed paths and command lines of the power daemon and the product, kept
// with the applet's and the switch helper's in powerdaemon. The battery
// module's files are batteries/'s.

#include "powerdaemon/powersavedaemon.h"
