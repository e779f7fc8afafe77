// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Makes assistive technology read the toolkit's own controls (the form, the
// owner-drawn list and the image buttons) through the interfaces made for
// them. Every such control calls this when it is built; only the first call
// does anything.
void installAccessibleFactory();
