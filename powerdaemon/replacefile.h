// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Replacing an existing file's content so that it is either wholly old or
// wholly new: a full disk, a crash or a second writer never leave it cut.

#include "fileerror.h"

#include <optional>
#include <string>
#include <string_view>

namespace powerdaemon {

// Writes text to a new file in the directory of path's target (symbolic
// links followed), ".NAME.ovra-new.XXXXXX", flushes it to disk and renames
// it over the target. The new file gets the old one's mode and extended
// attributes (POSIX ACLs, security label and the others), and its owner
// where the process may set it; an attribute that cannot be kept fails the
// replacement rather than being dropped. A file that does not exist yet is
// made with mode rw-r--r--. A text longer than the process may write
// (RLIMIT_FSIZE) fails before anything is made. On failure the old file is
// untouched and the temporary file is gone, unless the process was killed.
std::optional<FileError> replaceFileContents(const std::string& path, std::string_view text);

// Removes the temporary files that a replacement of path killed half way
// left beside its target: plain files of this process's user with the name
// replaceFileContents gives them, nothing else. Only safe while no other
// replacement of the file runs (under the switch lock).
void removeLeftTemporaries(const std::string& path);

} // namespace powerdaemon
