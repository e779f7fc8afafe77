#include "SchemeKeys.h"
#include "KeyLine.h"
#include "PowersavePaths.h"
#include "TextLines.h"
#include "UPMComm.h"

void ReadSchemeKeys(const QByteArray& text, QByteArray& acScheme, QByteArray& batteryScheme)
{
    for (const QByteArray& line : SplitTextLines(text)) {
        QByteArray value;
        if (ParseKeyLine(line, powersave::AcSchemeKey, value, 0)) {
            // An AC_SCHEME line is never tested for the other key.
            if (!value.isEmpty()) {
                acScheme = value;
            }
        } else if (ParseKeyLine(line, powersave::BatterySchemeKey, value, 0) && !value.isEmpty()) {
            batteryScheme = value;
        }
    }
}

QByteArray UpdateSchemeKeysText(const QByteArray& text, const QByteArray& acScheme,
                                const QByteArray& batteryScheme)
{
    QByteArray result;
    result.reserve(text.size() + 64);
    for (QByteArray line : SplitTextLines(text)) {
        // Comments keep their bytes, even when they name a key.
        if (!IsCommentLine(line)) {
            if (line.contains(powersave::AcSchemeKey)) {
                line = FormatKeyLine(powersave::AcSchemeKey, acScheme);
            }
            if (line.contains(powersave::BatterySchemeKey)) {
                line = FormatKeyLine(powersave::BatterySchemeKey, batteryScheme);
            }
        }
        result += line;
        result += '\n';
    }
    return result;
}
