// SPDX-License-Identifier: GPL-2.0-or-later
// Property of the key update: on generated hand-edited configurations, bash
// reads the new value for the key set and the old one for the other key,
// and every line that does not assign the key set keeps its bytes. Checked
// on the text and through WriteSchemes on the laptop's real file.
#include "common/UPMComm.h"
#include "common/schemekeys.h"
#include "configcheck.h"
#include "laptopfixture.h"

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

} // namespace

class TestKeyUpdateProperty : public QObject
{
    Q_OBJECT

private slots:
    void onTheText() { configcases::checkAll(configcases::generate(400, 14), updated); }
    void throughWriteSchemes()
    {
        QVERIFY(laptop::inside());
        configcases::checkAll(configcases::generate(25, 1402), writtenByWriteSchemes);
    }
};

QTEST_GUILESS_MAIN(TestKeyUpdateProperty)
#include "tst_keyupdateproperty.moc"
