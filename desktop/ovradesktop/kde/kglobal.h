// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

class KLocale;

/// Access to the desktop's process-wide objects.
class OVRADESKTOP_EXPORT KGlobal
{
public:
    /// The process's locale; created on first use and kept for the process's life.
    static KLocale* locale();
};
