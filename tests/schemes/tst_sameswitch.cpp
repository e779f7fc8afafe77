// SPDX-License-Identifier: GPL-2.0-or-later
// The seam of the one switch, over generated hand-edited configurations on
// both power sources: given the same text, power source and scheme, the
// popup (WriteSchemes, keyed by the power source as its form keys it) and
// the applet (its scheme menu) ask the one switch for the same key and
// value, so that each leaves the same file, byte for byte, and bash reads
// from it what it must.
#include "configcheck.h"
#include "laptopfixture.h"
#include "schememenuhost.h"

#include "common/UPMComm.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace {

const QString CommonFile = QStringLiteral("/etc/sysconfig/powersave/common");

QByteArray afterPopup(const configcases::Case& c)
{
    laptop::writeFile(CommonFile, c.text);
    if (GetPowerState() == 0) {
        WriteSchemes(c.newValue, std::nullopt);
    } else {
        WriteSchemes(std::nullopt, c.newValue);
    }
    return laptop::readFile(CommonFile);
}

QByteArray afterApplet(const configcases::Case& c, SchemeMenu& menu)
{
    laptop::writeFile(CommonFile, c.text);
    menu.changeScheme(QFile::decodeName(c.newValue));
    return laptop::readFile(CommonFile);
}

} // namespace

class TestSameSwitch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void bothProgramsAskTheSame()
    {
        SchemeMenuHost applet;
        QStringList differing;
        configcases::checkAll(configcases::generate(30, 2929), [&](const configcases::Case& c) {
            laptop::mains(c.key == configcases::Key::Ac);
            const QByteArray popup = afterPopup(c);
            if (afterApplet(c, applet.menu) != popup) {
                differing << QString::fromLatin1(c.text);
            }
            return popup;
        });
        QCOMPARE(differing, QStringList());
    }
};

QTEST_MAIN(TestSameSwitch)
#include "tst_sameswitch.moc"
