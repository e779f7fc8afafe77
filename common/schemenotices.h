// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The notices of a switch that did not take effect, as the user reads them.

#include "UPMComm.h"

// The file has no line for the key, so the scheme was not written.
SchemeNotice NotSavedNotice(const QByteArray& scheme, const char* key);
// The daemon failed both its reload and its start.
SchemeNotice NotAcceptedNotice(const QByteArray& scheme);
