// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QString>

/// The folder of the shared library (or program) whose code holds address,
/// or an empty string when the dynamic linker does not know it. Libraries
/// that find their data beside themselves pass one of their own functions.
OVRADESKTOP_EXPORT QString folderOfLibraryHolding(const void* address);
