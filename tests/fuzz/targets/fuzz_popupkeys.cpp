// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the popup's key lines of the daemon's file
// (common/): assignment and label lines, and the key update with its
// read-back.
#include "fuzzcheck.h"

#include "common/UPMComm.h"
#include "common/keyline.h"
#include "common/schemekeys.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/linewalk.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using fuzzcheck::require;

// The input's first byte chooses how much of the rest is the key or label.
void fuzzKeyLines(const QByteArray& input)
{
    const QByteArray key = input.mid(1, input.isEmpty() ? 0 : uchar(input[0]) % 24);
    const QByteArray rest = input.mid(1 + key.size());
    const std::string_view restText(rest.constData(), std::size_t(rest.size()));
    const auto dropped = powerdaemon::CarriageReturns::Dropped;
    powerdaemon::forEachLineContent(restText, dropped, [&](std::string_view lineText) {
        const QByteArray line(lineText.data(), qsizetype(lineText.size()));
        for (const auto parse : {ParseAssignmentLine, ParseLabelLine}) {
            QByteArray value = "unchanged";
            if (parse(line, key, value)) {
                require(value.size() < line.size(), "a value is shorter than its line");
            } else {
                require(value == "unchanged", "a line without the key leaves the value");
            }
        }
    });
}

void fuzzKeyUpdate(const QByteArray& input)
{
    const QByteArray updated = UpdateSchemeKeysText(input, "presentation", "powersave");
    // Same line feeds, the last line's end as it was; a second update
    // changes nothing.
    require(updated.count('\n') == input.count('\n'), "the update keeps the line feeds");
    require(updated.endsWith('\n') == input.endsWith('\n'), "the update keeps the last line's end");
    require(UpdateSchemeKeysText(updated, "presentation", "powersave") == updated,
            "the update is idempotent");

    // Read back, a key with a line has its new value; one without keeps
    // what the variable held.
    const std::string_view text(input.constData(), std::size_t(input.size()));
    const bool hasAc = !powerdaemon::keyValues(text, "AC_SCHEME").empty();
    const bool hasBattery = !powerdaemon::keyValues(text, "BATTERY_SCHEME").empty();
    QByteArray ac = "none", battery = "none";
    ReadSchemeKeys(input, ac, battery);
    ac = battery = "none";
    ReadSchemeKeys(updated, ac, battery);
    require(ac == (hasAc ? "presentation" : "none"), "the AC scheme reads back as written");
    require(battery == (hasBattery ? "powersave" : "none"),
            "the battery scheme reads back as written");
    require(SchemeKeysGiven(updated, "presentation", "powersave") == (hasAc && hasBattery),
            "the keys count as given when both have a line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    fuzzKeyLines(input);
    fuzzKeyUpdate(input);
    return 0;
}
