// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the popup tells the user of a switch that did not take effect:
// through the desktop's notification service, or, when no service takes the
// notice, in the standard error box over the active window before the
// popup closes. The program installs this before it builds the form.
void reportNoticesOnDesktop();
