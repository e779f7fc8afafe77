// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The mains icon beside the gauge where the product's own icon file is not
// installed (a laptop of today): a plug drawn here, the same on every
// desktop, so that mains power shows on any machine.

class QPixmap;

// An icon size x size pixels large; never null.
QPixmap fallbackMainsIcon(int size);
