// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Loads fontconfig's configuration and font caches, meant for a thread of its
// own while the main thread connects to the X server and loads the platform
// plug-in. Reading that configuration is about a third of the popup's start,
// and Qt does it the first time it needs a font; done meanwhile, the first
// frame comes that much sooner. fontconfig initialises its configuration
// once per process, so the font database Qt builds later is the same, and
// when this has not run Qt loads it itself, as any program does.
void warmUpFontConfig();
