// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What a scheme switch came to, as the switch helper tells its caller: one
// line a fact on its standard output, and the outcome as its exit status.

#include "fileerror.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace powerdaemon {

// The helper's exit statuses. pkexec itself ends with 126 or 127 when the
// user was not authorised, so none of these.
enum class SwitchOutcome
{
    Applied = 0,    // written, and the daemon took it up
    NotApplied = 1, // written, but the daemon refused its reload (and start)
    NotSaved = 2,   // no line for the key, or the file could not be rewritten
    Refused = 3     // key, name or arguments not acceptable; nothing done
};

struct SwitchReport
{
    enum class Saved
    {
        Yes,   // the file gives the key the name now
        NoKey, // no line assigns the key, and none is added
        Failed // the file could not be read or rewritten
    };

    bool refused = false;
    Saved saved = Saved::Yes;
    std::string reason; // why it was refused, or why the write failed
    FileError failure;  // the file call that failed (code 0: none known)
    bool commandsRan = false;
    bool accepted = false;                 // the reload (or the start after it) succeeded
    std::vector<std::string> stillRunning; // commands still running at their bound, then ended

    SwitchOutcome outcome() const;
    bool tookEffect() const { return outcome() == SwitchOutcome::Applied; }

    std::string toText() const;
    // A text as the report puts it on one line: line ends and tabs become blanks.
    static std::string oneLine(std::string_view text);
    // nullopt when the text holds no report (the helper never ran).
    static std::optional<SwitchReport> fromText(std::string_view text);
};

} // namespace powerdaemon
