// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The property check of the scheme key update over generated configurations
// (configcases.h), for the popup's and the applet's tests alike.

#include "configcases.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTest>

#include <functional>

namespace configcases {

// Runs update on every case and checks the results with one bash program.
inline void checkAll(const QList<Case>& cases, const std::function<QByteArray(const Case&)>& update)
{
    QList<QByteArray> texts;
    for (const Case& c : cases) {
        texts << c.text;
    }
    for (const Case& c : cases) {
        texts << update(c);
    }
    const QList<Sourced> sourced = sourceAll(texts);
    QCOMPARE(sourced.size(), texts.size());
    const int n = int(cases.size());
    for (int i = 0; i < n; ++i) {
        const QString wrong = mismatch(cases[i], texts[n + i], sourced[i], sourced[n + i]);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("case %1: %2\nbefore:\n%3\nafter:\n%4")
                                                 .arg(i)
                                                 .arg(wrong, QString::fromLatin1(cases[i].text),
                                                      QString::fromLatin1(texts[n + i]))));
    }
}

} // namespace configcases
