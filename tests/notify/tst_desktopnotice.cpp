// SPDX-License-Identifier: GPL-2.0-or-later
// Notices handed to the desktop's notification service: what the service
// receives, and "not delivered" when there is no service, no bus, or a
// service that does not answer in time. The times are printed, not judged.
#include "laptopfixture.h"
#include "noticerecorder.h"
#include "notify/desktopnotice.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

const notify::DesktopNotice sample{QStringLiteral("ovraapplet"), QStringLiteral("Battery low"),
                                   QStringLiteral("Two\tlines:\nä \\ ö"),
                                   QStringLiteral("battery-low"), notify::Urgency::Critical};

} // namespace

class TestDesktopNotice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void noServiceIsNotDelivered()
    {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!notify::deliver(sample));
        qInfo("no service: answered in %lld ms", clock.elapsed());
    }

    void serviceReceivesTheNotice()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
        QVERIFY(recorder.ready());
        QVERIFY(notify::deliver(sample));
        notify::DesktopNotice plain = sample;
        plain.urgency = notify::Urgency::Normal;
        plain.icon.clear();
        QVERIFY(notify::deliver(plain));
        QCOMPARE(recorder.notices(),
                 (QStringList{QStringLiteral("ovraapplet\tbattery-low\tBattery low\tTwo\\tlines:"
                                             "\\nä \\\\ ö\t2"),
                              QStringLiteral("ovraapplet\t\tBattery low\tTwo\\tlines:\\nä \\\\ "
                                             "ö\t1")}));
    }

    // The service reads the body as markup: a scheme named like markup is
    // shown as it is. The summary is plain text to the service already.
    void bodyMarkupIsEscaped()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
        QVERIFY(recorder.ready());
        notify::DesktopNotice notice = sample;
        notice.summary = QStringLiteral("<b>fast</b>");
        notice.body = QStringLiteral("The scheme \"<b>fast</b>\" & <a href=\"x\">more</a>&amp;");
        QVERIFY(notify::deliver(notice));
        QCOMPARE(recorder.notices(),
                 QStringList{QStringLiteral(
                     "ovraapplet\tbattery-low\t<b>fast</b>\tThe scheme \"&lt;b&gt;fast&lt;/b&gt;\" "
                     "&amp; &lt;a href=\"x\"&gt;more&lt;/a&gt;&amp;amp;\t2")});
    }

    void silentServiceIsNotDelivered()
    {
        NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER), true);
        QVERIFY(recorder.ready());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!notify::deliver(sample, std::chrono::milliseconds(500)));
        qInfo("silent service: given up after %lld ms", clock.elapsed());
        QCOMPARE(recorder.notices().size(), 1);
    }

    void noBusIsNotDelivered()
    {
        if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
            QSKIP("runs with the sandbox's --no-bus");
        }
        QVERIFY(!notify::deliver(sample));
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotice)
#include "tst_desktopnotice.moc"
