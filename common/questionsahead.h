// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's first showing asks the system bus what power-profiles-daemon
// offers and whether UPower runs on battery; on a laptop of today, with the
// question of what the machine has, that is a connection and a handful of
// round trips. Asked ahead, on a thread aside while the main thread builds
// the window, the answers are there when the form needs them
// (machine/answersahead.h). Blocks for at most the questions' bounds; on the
// battery module's laptop it only looks at the machine's files.
void askShowingQuestionsAhead();
