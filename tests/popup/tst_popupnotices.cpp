// SPDX-License-Identifier: GPL-2.0-or-later
// What the popup tells the user when a switch does not take effect: a
// notice through the desktop's notification service, or the text in the
// error box when no service runs; the commands and their order stay as they
// are, and a switch that worked tells nothing.
#include "formfixture.h"
#include "laptopfixture.h"
#include "noticerecorder.h"
#include "popup/SchemepopBase.h"
#include "popup/noticereporting.h"
#include "popuptesting.h"

#include <QTest>

using laptop::callSummary;
using popuptest::MessageBoxCatcher;
using popuptest::pointAt;
using popuptest::settle;

namespace {

const QString Reload = QStringLiteral("/etc/init.d/powersaved reload");
const QString Start = QStringLiteral("/etc/init.d/powersaved start");
const QString Idletime = QStringLiteral("/opt/nexalt/pm/idletime.sh restart");

const QString NotApplied =
    QStringLiteral("Power scheme not applied\tThe power daemon did not accept the scheme "
                   "\"presentation\".");
const QString NotSavedOnMains =
    QStringLiteral("Power scheme not saved\tThe scheme \"presentation\" was not saved: "
                   "/etc/sysconfig/powersave/common has no AC_SCHEME setting.");

// A recorded notice as app, icon, summary and body with urgency.
QString fromPopup(const QString& summaryAndBody)
{
    return QStringLiteral("schemepop\tdialog-warning\t") + summaryAndBody + QStringLiteral("\t1");
}

// The common file without the lines that assign AC_SCHEME.
QByteArray withoutMainsKey(const QByteArray& common)
{
    QByteArray out;
    for (const QByteArray& line : common.split('\n')) {
        if (!line.startsWith("AC_SCHEME=")) {
            out += line + '\n';
        }
    }
    out.chop(1);
    return out;
}

} // namespace

class TestPopupNotices : public QObject, protected FormFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    // No notification service on the bus (these run first).
    void refusedSwitchShowsTheBoxBeforeClosing();
    void unsavedSchemeShowsTheBox();
    // With the recorder as the notification service.
    void refusedSwitchSendsANotice();
    void unsavedSchemeSendsANotice();
    void emptyFileSendsANotice();
    // Run with LANGUAGE=de (popup.notices_german).
    void noticeInTheUsersLanguage();

private:
    // Clicks the scheme's row and runs the program's event loop until the
    // popup has closed; the notices are those of the program.
    bool clickEndsProgram(const QByteArray& scheme);
    int rowOf(const QByteArray& scheme) const;
};

void TestPopupNotices::initTestCase()
{
    QVERIFY(laptop::inside());
    keepConfiguration();
    reportNoticesOnDesktop();
}

void TestPopupNotices::cleanup()
{
    restoreLaptop();
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), 0, 0);
    laptop::setBehaviour(QStringLiteral("powersaved.start"), 0, 0);
    laptop::clearCalls();
}

int TestPopupNotices::rowOf(const QByteArray& scheme) const
{
    return popuptest::rowOfScheme(*m_form, scheme);
}

bool TestPopupNotices::clickEndsProgram(const QByteArray& scheme)
{
    TForm_FnBase* form = showForm();
    if (!form || rowOf(scheme) < 0) {
        return false;
    }
    const QPoint centre(258, rowOf(scheme) * 35 + 17);
    const bool ended = popuptest::endsProgram(
        [form, centre] {
            QWidget* viewport = form->LstBx_Scheme->viewport();
            pointAt(form, QPoint(5, 5));
            pointAt(viewport, centre);
            QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
            settle();
        },
        20000);
    return ended && !form->isVisible();
}

void TestPopupNotices::refusedSwitchShowsTheBoxBeforeClosing()
{
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), 1, 0);
    laptop::setBehaviour(QStringLiteral("powersaved.start"), 1, 0);
    MessageBoxCatcher catcher;
    QVERIFY(clickEndsProgram("presentation"));
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().first().icon, QMessageBox::Critical);
    QCOMPARE(catcher.boxes().first().text,
             QStringLiteral("Power scheme not applied\n\nThe power daemon did not accept the "
                            "scheme \"presentation\"."));
    QCOMPARE(callSummary(), (QStringList{Reload, Start, Idletime}));
}

void TestPopupNotices::unsavedSchemeShowsTheBox()
{
    laptop::writeFile(CommonPath, withoutMainsKey(m_common));
    MessageBoxCatcher catcher;
    QVERIFY(clickEndsProgram("presentation"));
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().first().text,
             QString(NotSavedOnMains).replace(QLatin1Char('\t'), QStringLiteral("\n\n")));
    QCOMPARE(laptop::readFile(CommonPath), withoutMainsKey(m_common));
    // The reload runs all the same: the daemon may take up a change made by others.
    QCOMPARE(callSummary(), (QStringList{Reload, Idletime}));
}

void TestPopupNotices::refusedSwitchSendsANotice()
{
    NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
    QVERIFY(recorder.ready());
    MessageBoxCatcher catcher;
    // The reload fails but the start works: the daemon runs the scheme, and
    // nothing is said.
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), 1, 0);
    QVERIFY(clickEndsProgram("performance"));
    QCOMPARE(recorder.notices(), QStringList());
    QCOMPARE(callSummary(), (QStringList{Reload, Start, Idletime}));

    laptop::clearCalls();
    laptop::setBehaviour(QStringLiteral("powersaved.start"), 1, 0);
    QVERIFY(clickEndsProgram("presentation"));
    QCOMPARE(recorder.notices(), QStringList{fromPopup(NotApplied)});
    QVERIFY(catcher.boxes().isEmpty());
    QCOMPARE(callSummary(), (QStringList{Reload, Start, Idletime}));
}

void TestPopupNotices::unsavedSchemeSendsANotice()
{
    NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
    QVERIFY(recorder.ready());
    laptop::writeFile(CommonPath, withoutMainsKey(m_common));
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), 1, 0);
    laptop::setBehaviour(QStringLiteral("powersaved.start"), 1, 0);
    MessageBoxCatcher catcher;
    QVERIFY(clickEndsProgram("presentation"));
    // Both things went wrong: both are told, in this order.
    QCOMPARE(recorder.notices(), (QStringList{fromPopup(NotSavedOnMains), fromPopup(NotApplied)}));
    QVERIFY(catcher.boxes().isEmpty());
    QCOMPARE(callSummary(), (QStringList{Reload, Start, Idletime}));
}

void TestPopupNotices::emptyFileSendsANotice()
{
    NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
    QVERIFY(recorder.ready());
    laptop::writeFile(CommonPath, QByteArray());
    QVERIFY(clickEndsProgram("presentation"));
    QCOMPARE(recorder.notices(), QStringList{fromPopup(NotSavedOnMains)});
    QCOMPARE(laptop::readFile(CommonPath), QByteArray());
    QCOMPARE(callSummary(), (QStringList{Reload, Idletime}));
}

void TestPopupNotices::noticeInTheUsersLanguage()
{
    if (qEnvironmentVariable("LANGUAGE") != QLatin1String("de")) {
        QSKIP("needs LANGUAGE=de");
    }
    NoticeRecorder recorder(QStringLiteral(NOTIFYRECORDER));
    QVERIFY(recorder.ready());
    laptop::writeFile(CommonPath, withoutMainsKey(m_common));
    QVERIFY(clickEndsProgram("presentation"));
    QCOMPARE(recorder.notices(),
             QStringList{fromPopup(QStringLiteral(
                 "Energieschema nicht gespeichert\tDas Schema \"presentation\" wurde nicht "
                 "gespeichert: /etc/sysconfig/powersave/common enthält keine Einstellung "
                 "AC_SCHEME."))});
}

QTEST_MAIN(TestPopupNotices)
#include "tst_popupnotices.moc"
