// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's switch for a user who is not root: the switch helper does it
// as root once polkit has authorised the user (pkexec), and the user is
// told what came of it as after a switch of the popup's own.

#include <QByteArray>

// True when the popup switches through the helper: it is not run by root.
bool SwitchRunsThroughHelper();

// Sets key to name through the helper and waits for it to end; there is no
// bound on the wait, as a person may be typing a password in the
// authentication agent's dialog. The helper bounds each command it runs.
void SwitchThroughHelper(const char* key, const QByteArray& name);
