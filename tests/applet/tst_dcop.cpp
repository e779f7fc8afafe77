// SPDX-License-Identifier: GPL-2.0-or-later
// The applet's DCOP interface, called in the process as the DCOP layer calls
// it: the lists of calls and interfaces, setPos with its argument, hide, show
// and exit, and calls handed on to the base.

#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"
#include "applet/pmapplet.h"

#include <kglobal.h>
#include <klocale.h>

#include <QDataStream>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {

QByteArray intArgument(qint32 value)
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << value;
    return data;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestDcop : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<OvraApplet> m_applet;

    bool call(const QCString& fun, const QByteArray& data = QByteArray(),
              QCString* replyTypeOut = nullptr)
    {
        QCString replyType;
        QByteArray replyData;
        const bool handled = m_applet->process(fun, data, replyType, replyData);
        if (replyTypeOut) {
            *replyTypeOut = replyType;
        }
        return handled;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void init()
    {
        KGlobal::locale()->insertCatalogue(QStringLiteral("OvraIface"));
        m_applet =
            std::make_unique<OvraApplet>(QStringLiteral("ovraapplet_rc"), KPanelApplet::Normal,
                                         KPanelApplet::Preferences, nullptr, "OvraIface");
        m_applet->resize(150, 40);
        m_applet->show();
    }
    void cleanup()
    {
        m_applet.reset();
        KGlobal::locale()->removeCatalogue(QStringLiteral("OvraIface"));
    }

    void functionsAfterTheBase()
    {
        const QCStringList base = m_applet->DCOPObject::functions();
        QVERIFY(!base.isEmpty());
        const QCStringList own{"void setPos(int pos)", "void exit()", "void hide()", "void show()"};
        QCOMPARE(m_applet->functions(), base + own);
    }

    void interfacesEndWithOvraIface()
    {
        const QCStringList base = m_applet->DCOPObject::interfaces();
        QCOMPARE(m_applet->interfaces(), base + QCStringList{"OvraIface"});
    }

    // 0 puts the applet on the right and repaints it; any other number is
    // accepted and changes nothing.
    void setPos_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<bool>("moved");
        QTest::newRow("0: right") << intArgument(0) << true << true;
        QTest::newRow("1: left") << intArgument(1) << true << false;
        QTest::newRow("7") << intArgument(7) << true << false;
        QTest::newRow("-1") << intArgument(-1) << true << false;
        QTest::newRow("no argument") << QByteArray() << false << false;
        QTest::newRow("half an int") << QByteArray("\0\0", 2) << false << false;
    }
    void setPos()
    {
        QFETCH(QByteArray, argument);
        QFETCH(bool, handled);
        QFETCH(bool, moved);
        m_applet->setPosition(KPanelApplet::pBottom);
        m_applet->setAlignment(KPanelApplet::LeftTop);
        QCoreApplication::processEvents();
        PaintCounter counter;
        m_applet->installEventFilter(&counter);

        QCString replyType;
        QCOMPARE(call("setPos(int)", argument, &replyType), handled);
        QCOMPARE(replyType, QCString("void"));
        QCOMPARE(m_applet->position(), moved ? KPanelApplet::pRight : KPanelApplet::pBottom);
        QCOMPARE(m_applet->alignment(), moved ? KPanelApplet::RightBottom : KPanelApplet::LeftTop);
        QCOMPARE(counter.paints > 0, moved);
        m_applet->removeEventFilter(&counter);
    }

    // Only the matched signatures are the applet's; the rest goes to the base.
    void otherCallsGoToTheBase()
    {
        QCString replyType;
        QByteArray replyData;
        QCOMPARE(
            call("setPos(int pos)", intArgument(0)),
            m_applet->DCOPObject::process("setPos(int pos)", intArgument(0), replyType, replyData));
        QCOMPARE(m_applet->position(), KPanelApplet::pBottom);
        QVERIFY(!call("resize(int,int)"));

        // The base answers functions(), and lists the applet's calls with it.
        replyData.clear();
        QVERIFY(m_applet->process("functions()", QByteArray(), replyType, replyData));
        QVERIFY(replyData.contains("void setPos(int pos)"));
    }

    void hideAndShow()
    {
        QVERIFY(call("hide()"));
        QVERIFY(m_applet->isHidden());
        QVERIFY(call("show()"));
        QVERIFY(m_applet->isVisible());
    }

    // exit empties the applet, which keeps answering.
    void exitThenShow()
    {
        QPointer<GraphFrame> frame = gaugeparts::gaugeOf(m_applet.get());
        m_applet->about();
        QVERIFY(call("hide()"));
        QCString replyType;
        QVERIFY(call("exit()", QByteArray(), &replyType));
        QCOMPARE(replyType, QCString("void"));
        QVERIFY(!frame);
        QVERIFY(!gaugeparts::gaugeOf(m_applet.get()));
        QVERIFY(!gaugeparts::aboutDialog());
        QVERIFY(!KGlobal::locale()->catalogues().contains(QStringLiteral("OvraIface")));
        QCOMPARE(m_applet->widthForHeight(40), 110);

        QVERIFY(call("show()"));
        QVERIFY(m_applet->isVisible());
        QVERIFY(!m_applet->findChild<GraphFrame*>());
        QVERIFY(call("setPos(int)", intArgument(0)));
        QCOMPARE(m_applet->position(), KPanelApplet::pRight);
        QVERIFY(call("exit()"));
        QCOMPARE(m_applet->functions().size(), m_applet->DCOPObject::functions().size() + 4);
    }
};

QTEST_MAIN(TestDcop)
#include "tst_dcop.moc"
