// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Line tests shared by the configuration reader and the key update.

#include <QByteArray>

// A shell comment: the first byte that is not a blank or tab is "#".
bool IsCommentLine(const QByteArray& line);
