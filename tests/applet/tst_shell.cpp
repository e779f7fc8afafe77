// SPDX-License-Identifier: GPL-2.0-or-later
// The applet shell: its sizing for the panel, the gauge covering it, the
// about dialog, the preferences action, and the emptied state after closeAll.

#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"
#include "applet/pmapplet.h"

#include <kaboutdialog.h>

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestShell : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<OvraApplet> m_applet;

    static int aboutDialogs()
    {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<KAboutDialog*>(w)) {
                ++count;
            }
        }
        return count;
    }
    void refresh()
    {
        QMetaObject::invokeMethod(gaugeparts::gaugeOf(m_applet.get()), "transfer_draw_icon");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void init()
    {
        laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
        laptop::clearCalls();
        m_applet =
            std::make_unique<OvraApplet>(QStringLiteral("ovraapplet_rc"), KPanelApplet::Normal,
                                         KPanelApplet::Preferences, nullptr, "OvraIface");
    }
    void cleanup() { m_applet.reset(); }

    void construction()
    {
        GraphFrame* frame = gaugeparts::gaugeOf(m_applet.get());
        QVERIFY(frame);
        QCOMPARE(frame->parentWidget(), m_applet.get());
        QCOMPARE(frame->objectName(), QStringLiteral("graph_frame"));
        QVERIFY(!frame->isHidden());
        QVERIFY(!gaugeparts::aboutDialog());
        QCOMPARE(m_applet->objId(), QByteArray("OvraIface"));
    }

    // 150 px on mains power, 110 px otherwise; the panel is asked to lay out
    // anew when the width changes.
    void widthForPowerSource()
    {
        QSignalSpy layout(m_applet.get(), &KPanelApplet::updateLayout);
        QCOMPARE(m_applet->widthForHeight(40), 150);
        QCOMPARE(m_applet->widthForHeight(0), 150);

        laptop::mains(false);
        refresh();
        QCOMPARE(layout.count(), 1);
        QCOMPARE(m_applet->widthForHeight(40), 110);
        refresh();
        QCOMPARE(layout.count(), 1);

        laptop::mains(true);
        refresh();
        QCOMPARE(layout.count(), 2);
        QCOMPARE(m_applet->widthForHeight(40), 150);
    }

    void heightForWidth()
    {
        m_applet->resize(150, 37);
        QCOMPARE(m_applet->heightForWidth(500), 37);
    }

    void gaugeCoversApplet()
    {
        m_applet->show();
        m_applet->resize(150, 44);
        QTRY_COMPARE(gaugeparts::gaugeOf(m_applet.get())->size(), QSize(150, 44));
    }

    void aboutDialog()
    {
        m_applet->about();
        QPointer<KAboutDialog> first = gaugeparts::aboutDialog();
        QVERIFY(first);
        QCOMPARE(first->title(), QStringLiteral("Ovra- Ovra Tools"));
        QCOMPARE(first->version(), QStringLiteral("1.0"));
        QVERIFY(first->isVisible());
        QVERIFY(!first->parentWidget());

        m_applet->about();
        QVERIFY(!first);
        QVERIFY(gaugeparts::aboutDialog());
        QCOMPARE(aboutDialogs(), 1);

        m_applet->closeAll();
        QCOMPARE(aboutDialogs(), 0);
    }

    void preferencesLaunchesPowerManager()
    {
        m_applet->preferences();
        QVERIFY(laptop::waitFor(
            [] { return laptop::callsOf(QStringLiteral("/opt/nexalt/pm/pm.sh")).size() == 1; },
            5000));
    }

    // Emptied: no gauge, narrow, and nothing passed on any more.
    void closeAllEmpties()
    {
        QPointer<GraphFrame> frame = gaugeparts::gaugeOf(m_applet.get());
        m_applet->about();
        m_applet->closeAll();
        QVERIFY(!frame);
        QVERIFY(!gaugeparts::gaugeOf(m_applet.get()));
        QVERIFY(!gaugeparts::aboutDialog());
        QCOMPARE(m_applet->widthForHeight(40), 110);

        m_applet->show();
        m_applet->resize(90, 20);
        QCoreApplication::processEvents();
        laptop::clearCalls();
        m_applet->preferences();
        QTest::qWait(300);
        QVERIFY(laptop::calls().isEmpty());
        m_applet->closeAll();
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
