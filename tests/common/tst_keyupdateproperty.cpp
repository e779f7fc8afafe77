// SPDX-License-Identifier: GPL-2.0-or-later
// Property of the key update: on generated hand-edited configurations, bash
// reads the new value for the key set and the old one for the other key,
// and every line that does not assign the key set keeps its bytes. Checked
// on the text and through WriteSchemes on the laptop's real file.
#include "UPMComm.h"
#include "configcases.h"
#include "laptopfixture.h"
#include "schemekeys.h"

#include <QTest>

namespace {

const QByteArray CommonFile = "/etc/sysconfig/powersave/common";

std::optional<QByteArray> valueFor(const configcases::Case& c, configcases::Key key)
{
    return c.key == key ? std::optional<QByteArray>(c.newValue) : std::nullopt;
}

QByteArray updated(const configcases::Case& c)
{
    return UpdateSchemeKeysText(c.text, valueFor(c, configcases::Key::Ac),
                                valueFor(c, configcases::Key::Battery));
}

QByteArray writtenByWriteSchemes(const configcases::Case& c)
{
    laptop::writeFile(CommonFile, c.text);
    WriteSchemes(valueFor(c, configcases::Key::Ac), valueFor(c, configcases::Key::Battery));
    return laptop::readFile(CommonFile);
}

// Runs update on every case and checks the results with one bash program.
void checkAll(const QList<configcases::Case>& cases,
              const std::function<QByteArray(const configcases::Case&)>& update)
{
    QList<QByteArray> texts;
    for (const configcases::Case& c : cases) {
        texts << c.text;
    }
    for (const configcases::Case& c : cases) {
        texts << update(c);
    }
    const QList<configcases::Sourced> sourced = configcases::sourceAll(texts);
    QCOMPARE(sourced.size(), texts.size());
    const int n = int(cases.size());
    for (int i = 0; i < n; ++i) {
        const QString wrong =
            configcases::mismatch(cases[i], texts[n + i], sourced[i], sourced[n + i]);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("case %1: %2\nbefore:\n%3\nafter:\n%4")
                                                 .arg(i)
                                                 .arg(wrong, QString::fromLatin1(cases[i].text),
                                                      QString::fromLatin1(texts[n + i]))));
    }
}

} // namespace

class TestKeyUpdateProperty : public QObject
{
    Q_OBJECT

private slots:
    void onTheText() { checkAll(configcases::generate(400, 14), updated); }
    void throughWriteSchemes()
    {
        QVERIFY(laptop::inside());
        checkAll(configcases::generate(25, 1402), writtenByWriteSchemes);
    }
};

QTEST_GUILESS_MAIN(TestKeyUpdateProperty)
#include "tst_keyupdateproperty.moc"
