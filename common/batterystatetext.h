// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The popup's record of a battery module's state file (its lines read by
// batteries/popupreading).

#include "RBatState.h"

#include <QByteArray>

// Reads the lines of a state file's bytes into rec. Labels the record lacks
// are skipped; of two lines with one label the later wins; a field whose
// label is missing keeps its value.
void ParseBatState(const QByteArray& text, RBatState& rec);
