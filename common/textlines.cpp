// SPDX-License-Identifier: GPL-2.0-or-later
#include "textlines.h"

QList<QByteArray> SplitTextLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype feed = text.indexOf('\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        QByteArray line = text.mid(start, end - start);
        line.replace("\r", "");
        lines.append(line);
        start = end + 1;
    }
    return lines;
}
