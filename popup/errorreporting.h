// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How the popup shows the messages of its common routines: each in the
// standard error box over the active window, so that the box stays above the
// popup, which is kept on top. The program installs this once its
// application object exists and before it builds the form.
void reportErrorsInBoxes();
