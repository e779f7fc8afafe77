// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the popup tells the user of a switch that did not take effect: in the
// user's language (the catalogue OvraIface, found under share/locale beside
// the program's folder: the installed one, or the build tree's), through
// the desktop's notification service, or, when no service takes the
// notice, in the standard error box over the active window before the
// popup closes. The program installs this before it builds the form.
void reportNoticesOnDesktop();
