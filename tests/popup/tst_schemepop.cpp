// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's form on the simulated laptop (offscreen): its stored layout,
// the scheme list's filling, painting and pointer tracking, the buttons and
// labels, activation of a scheme and the handling of errors.

#include "common/UPMComm.h"
#include "formfixture.h"
#include "popup/SchemepopBase.h"

#include "laptopfixture.h"
#include "popuptesting.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using laptop::callSummary;
using popuptest::endsProgram;
using popuptest::MessageBoxCatcher;
using popuptest::pointAt;
using popuptest::settle;

namespace {

const QString Reload = QStringLiteral("/etc/init.d/powersaved");
const QString IdleTime = QStringLiteral("/opt/nexalt/pm/idletime.sh");
const QString PowerManager = QStringLiteral("/opt/nexalt/pm/pm.sh");

const QColor Grey(128, 128, 128);
const QColor Red(242, 0, 0);
const QColor Black(0, 0, 0);
const QColor LightOutline(226, 239, 239);
const QColor DarkOutline(16, 28, 28);

QPoint rowCentre(int row)
{
    return QPoint(258, row * 35 + 17);
}

// The common file as the fixture holds it, with both keys set.
QByteArray commonWith(const QByteArray& original, const QByteArray& ac, const QByteArray& battery)
{
    QByteArray text = original;
    text.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"" + ac + '"');
    text.replace("BATTERY_SCHEME=\"powersave\"", "BATTERY_SCHEME=\"" + battery + '"');
    return text;
}

// Captures what the process writes to its standard output meanwhile.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        m_file.open();
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~StdoutCapture() { restore(); }

    QByteArray text()
    {
        restore();
        QFile again(m_file.fileName());
        again.open(QIODevice::ReadOnly);
        return again.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0) {
            return;
        }
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace

class TestSchemepop : public QObject, protected FormFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void layoutHoldsTheDesign();
    void layoutConnectsEveryHandler();
    void listIsFilledWhenShown_data();
    void listIsFilledWhenShown();
    void rowsArePaintedByState();
    void currentSchemeMatchesWithCase();
    void longListScrolls();
    void emptyListDoesNothing();
    void hoverLatchesTheLinkedButton();
    void clicksOfButtonsAndLabels_data();
    void clicksOfButtonsAndLabels();
    void powerManagerBlocksThenCloses();
    void rightClickChangesNothing();
    void clickBelowLastRowDoesNothing();
    void onlyPressAndReleaseOnARowActivate();
    void clickTakesTheRowFromItsEvents();
    void clickActivatesScheme_data();
    void clickActivatesScheme();
    void unreadableStateIsReadAgainBeforeWriting();
    void missingConfigurationIsReportedAndNotWritten();
    void keysCloseNothing();
    void windowManagerCloseRequestCloses();
    void activationIsTraced();

private:
    int rowOf(const QByteArray& scheme) const;
    QColor fillOfRow(int row) const;
    QColor outlineOfRow(int row) const;
    void addScheme(const QByteArray& name);
    void clickRow(int row, Qt::MouseButton button = Qt::LeftButton);

    QList<QByteArray> m_hiddenSchemes; // product copies moved aside
};

void TestSchemepop::initTestCase()
{
    QVERIFY(laptop::inside());
    keepConfiguration();
}

void TestSchemepop::cleanup()
{
    restoreLaptop();
    for (const QByteArray& name : std::as_const(m_hiddenSchemes)) {
        QFile::rename(QStringLiteral("/opt/nexalt/pm/scheme/hidden_") + name,
                      QStringLiteral("/opt/nexalt/pm/scheme/scheme_") + name);
    }
    m_hiddenSchemes.clear();
    laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes"),
                        QStringLiteral("readable=yes")});
    laptop::setBehaviour(QStringLiteral("pm.sh"), 0, 0);
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), 0, 0);
    laptop::clearCalls();
}

int TestSchemepop::rowOf(const QByteArray& scheme) const
{
    return popuptest::rowOfScheme(*m_form, scheme);
}

QColor TestSchemepop::fillOfRow(int row) const
{
    return m_form->LstBx_Scheme->grab().toImage().pixelColor(20, row * 35 + 17);
}

QColor TestSchemepop::outlineOfRow(int row) const
{
    return m_form->LstBx_Scheme->grab().toImage().pixelColor(258, row * 35 + 3);
}

void TestSchemepop::addScheme(const QByteArray& name)
{
    for (const QString& dir : {QStringLiteral("/etc/sysconfig/powersave/scheme_"),
                               QStringLiteral("/opt/nexalt/pm/scheme/scheme_")}) {
        const QString path = dir + QString::fromLocal8Bit(name);
        laptop::writeFile(path, "# scheme\n");
        m_addedFiles << path;
    }
}

void TestSchemepop::clickRow(int row, Qt::MouseButton button)
{
    // Come from outside the list, so that pointer tracking has selected the
    // row before the press, as when a user moves to a row and clicks it.
    QWidget* viewport = m_form->LstBx_Scheme->viewport();
    pointAt(m_form.get(), QPoint(5, 5));
    pointAt(viewport, rowCentre(row));
    QTest::mouseClick(viewport, button, {}, rowCentre(row));
    settle();
}

void TestSchemepop::layoutHoldsTheDesign()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);

    QCOMPARE(form->objectName(), QStringLiteral("Form_FnBase"));
    QCOMPARE(form->size(), QSize(516, 360));
    QCOMPARE(form->minimumSize(), QSize(516, 360));
    QCOMPARE(form->maximumSize(), QSize(516, 360));
    QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form->windowTitle(), QStringLiteral("Velantis Hotkey"));
    const QRect screen = form->screen()->geometry();
    QCOMPARE(form->pos(), QPoint(screen.x() + (screen.width() - 516) / 2,
                                 screen.y() + (screen.height() - 360) / 2));
    QCOMPARE(form->palette().color(QPalette::Window), Black);
    QCOMPARE(form->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(form->font().family(), QStringLiteral("lucidux sans"));
    QCOMPARE(form->font().pixelSize(), 14);
    QVERIFY(!form->font().bold());
    // The layout's font is not installed here: a sans fallback of the same size.
    QCOMPARE(QFontInfo(form->font()).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(QFontInfo(form->font()).pixelSize(), 14);

    struct Control
    {
        const char* name;
        const char* kind;
        QRect geometry;
        Qt::CursorShape cursor;
    };
    const Control controls[] = {
        {"Image_masthead", "QLabel", {0, 9, 520, 38}, Qt::ArrowCursor},
        {"spdBtn_Close", "TSpeedButton", {498, 2, 16, 16}, Qt::ArrowCursor},
        {"spdBtn_Closeb", "TSpeedButton", {406, 313, 40, 40}, Qt::PointingHandCursor},
        {"spdBtn_OpenAC", "TSpeedButton", {181, 313, 40, 40}, Qt::PointingHandCursor},
        {"Label_Title", "TLabel", {13, 30, -1, 23}, Qt::ArrowCursor},
        {"LstBx_Scheme", "TListBox", {0, 55, 516, 250}, Qt::ArrowCursor},
        {"Label_OpenPM", "TLabel", {230, 321, -1, 22}, Qt::PointingHandCursor},
        {"Label_Close", "TLabel", {457, 322, -1, 22}, Qt::PointingHandCursor},
    };
    const QObjectList children = form->children();
    int order = -1;
    for (const Control& c : controls) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(c.name));
        QVERIFY2(widget, c.name);
        QVERIFY2(widget->inherits(c.kind), c.name);
        const QRect expected =
            c.geometry.width() < 0
                ? QRect(c.geometry.topLeft(), QSize(widget->width(), c.geometry.height()))
                : c.geometry;
        QCOMPARE(widget->geometry(), expected);
        QCOMPARE(widget->cursor().shape(), c.cursor);
        QVERIFY2(children.indexOf(widget) > order, c.name); // creation (stacking) order
        order = children.indexOf(widget);
    }
    // The labels are as wide as their text in their font, so that no text
    // is cut off whatever font stands in for the layout's.
    for (TLabel* label : {form->Label_Title, form->Label_OpenPM, form->Label_Close}) {
        QCOMPARE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
        QCOMPARE(label->font().pixelSize(), 14);
    }
    QCOMPARE(form->Label_OpenPM->text(), QStringLiteral("Open Power Manager..."));
    QCOMPARE(form->Label_Close->text(), QStringLiteral("Close"));
    QCOMPARE(form->Label_Title->text(), QStringLiteral("Choose Power Scheme"));
    QVERIFY(form->Label_Title->font().bold());
    QCOMPARE(form->Label_Title->font().pixelSize(), 14);
    QVERIFY(form->Label_Title->autoFillBackground());
    QCOMPARE(form->Label_Title->palette().color(QPalette::Window), Black);

    QCOMPARE(form->Image_masthead->pixmap().size(), QSize(520, 38));
    QCOMPARE(form->spdBtn_Close->glyph().size(), QSize(64, 16));
    QVERIFY(!form->spdBtn_Close->isFlat());
    QVERIFY(!form->spdBtn_Close->isTransparent());
    QCOMPARE(form->spdBtn_Close->groupIndex(), 0);
    for (TSpeedButton* button : {form->spdBtn_Closeb, form->spdBtn_OpenAC}) {
        QCOMPARE(button->glyph().size(), QSize(176, 44));
        QCOMPARE(button->numGlyphs(), 4);
        QVERIFY(button->isFlat());
        QCOMPARE(button->groupIndex(), 1);
        QVERIFY(button->allowAllUp());
        QVERIFY(!button->isDown());
    }
    QCOMPARE(form->Label_OpenPM->linkedButton(), form->spdBtn_OpenAC);
    QCOMPARE(form->Label_Close->linkedButton(), form->spdBtn_Closeb);

    QCOMPARE(form->LstBx_Scheme->frameShape(), QFrame::NoFrame);
    QCOMPARE(form->LstBx_Scheme->itemHeight(), 35);
    QCOMPARE(form->LstBx_Scheme->viewport()->palette().color(QPalette::Base), Black);
    QCOMPARE(form->focusWidget(), form->LstBx_Scheme);
    QCOMPARE(form->LstBx_Scheme->itemIndex(), -1);
    QVERIFY(form->LstBx_Scheme->findItems(QStringLiteral("Sample Schemes"), Qt::MatchExactly)
                .isEmpty());
}

void TestSchemepop::layoutConnectsEveryHandler()
{
    // A handler or event name that the layout misspells shows only as a
    // warning while the form is built; the other tests drive every handler.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg) {
                warnings << text;
            }
        });
    {
        TForm_FnBase form;
    }
    qInstallMessageHandler(previous);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestSchemepop::listIsFilledWhenShown_data()
{
    QTest::addColumn<QStringList>("battery");
    QTest::addColumn<int>("powerState");
    QTest::addColumn<QByteArray>("current");
    QTest::newRow("mains") << QStringList{QStringLiteral("ac=yes")} << 0
                           << QByteArray("performance");
    QTest::newRow("battery") << QStringList{QStringLiteral("ac=no")} << 1
                             << QByteArray("powersave");
    QTest::newRow("no state file")
        << QStringList{QStringLiteral("present=no")} << -1 << QByteArray("powersave");
}

void TestSchemepop::listIsFilledWhenShown()
{
    QFETCH(QStringList, battery);
    QFETCH(int, powerState);
    QFETCH(QByteArray, current);
    laptop::battery(0, battery);

    TForm_FnBase* form = showForm();
    QVERIFY(form);
    const QList<QByteArray> schemes = ListSchemes();
    QVERIFY(schemes.contains("presentation"));
    QVERIFY(!schemes.contains("acoustic")); // only in the daemon's directory
    QCOMPARE(form->LstBx_Scheme->count(), schemes.size());
    for (int i = 0; i < schemes.size(); ++i) {
        QCOMPARE(TForm_FnBase::schemeOfRow(form->LstBx_Scheme->item(i)), schemes.at(i));
        QCOMPARE(form->LstBx_Scheme->item(i)->text(), QString::fromLocal8Bit(schemes.at(i)));
    }
    QCOMPARE(form->PowerState, powerState);
    QCOMPARE(form->ACScheme, QByteArray("performance"));
    QCOMPARE(form->BatteryScheme, QByteArray("powersave"));
    QCOMPARE(form->CurrentScheme, current);
    for (int i = 0; i < schemes.size(); ++i) {
        QCOMPARE(fillOfRow(i), schemes.at(i) == current ? Red : Black);
    }
    QVERIFY(laptop::calls().isEmpty());
}

void TestSchemepop::rowsArePaintedByState()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    const int current = rowOf("performance");
    const int other = rowOf("presentation");
    QVERIFY(current >= 0 && other >= 0);
    const int rows = form->LstBx_Scheme->count();

    // Nothing under the pointer: red current row, black others, no grey.
    QCOMPARE(fillOfRow(current), Red);
    QCOMPARE(outlineOfRow(current), LightOutline);
    QCOMPARE(fillOfRow(other), Black);
    QCOMPARE(outlineOfRow(other), DarkOutline);

    // The row under the pointer is grey, and grey wins over red.
    pointAt(form->LstBx_Scheme->viewport(), rowCentre(other));
    QCOMPARE(fillOfRow(other), Grey);
    QCOMPARE(outlineOfRow(other), LightOutline);
    QCOMPARE(fillOfRow(current), Red);
    QCOMPARE(form->LstBx_Scheme->cursor().shape(), Qt::PointingHandCursor);
    pointAt(form->LstBx_Scheme->viewport(), rowCentre(current));
    QCOMPARE(fillOfRow(current), Grey);
    QCOMPARE(fillOfRow(other), Black);

    // Below the last row and outside the list: no grey row, arrow pointer.
    pointAt(form->LstBx_Scheme->viewport(), QPoint(258, rows * 35 + 2));
    QCOMPARE(form->LstBx_Scheme->itemIndex(), -1);
    QCOMPARE(form->LstBx_Scheme->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(fillOfRow(current), Red);
    pointAt(form->LstBx_Scheme->viewport(), rowCentre(other));
    pointAt(form, QPoint(100, 340));
    QCOMPARE(form->LstBx_Scheme->itemIndex(), -1);
    QCOMPARE(form->LstBx_Scheme->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(fillOfRow(other), Black);

    // The row's geometry: a rounded rectangle inset by three pixels, the text
    // from x 40 in white, nothing else.
    const QImage image = form->LstBx_Scheme->grab().toImage();
    const int top = current * 35;
    QCOMPARE(image.pixelColor(0, top + 17), Black);          // outside the rectangle
    QCOMPARE(image.pixelColor(3, top + 17), LightOutline);   // its left edge
    QCOMPARE(image.pixelColor(258, top + 32), LightOutline); // its bottom edge
    QCOMPARE(image.pixelColor(1, top + 1), Black);           // a rounded corner
    bool onlyFillLeftOf40 = true;
    bool whiteText = false;
    for (int y = top + 6; y < top + 29; ++y) {
        for (int x = 6; x < 300; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (x < 40 && c != Red) {
                onlyFillLeftOf40 = false;
            }
            if (x >= 40 && c == QColor(Qt::white)) {
                whiteText = true;
            }
        }
    }
    QVERIFY(whiteText);
    QVERIFY(onlyFillLeftOf40);
}

void TestSchemepop::currentSchemeMatchesWithCase()
{
    addScheme("Performance");
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QVERIFY(rowOf("Performance") >= 0);
    QCOMPARE(fillOfRow(rowOf("Performance")), Black);
    QCOMPARE(fillOfRow(rowOf("performance")), Red);
}

void TestSchemepop::longListScrolls()
{
    for (const char* name : {"s1", "s2", "s3", "s4", "s5", "s6"}) {
        addScheme(name);
    }
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    TListBox* list = form->LstBx_Scheme;
    QCOMPARE(list->count(), ListSchemes().size());
    QVERIFY(list->count() > 7);
    QVERIFY(list->verticalScrollBar()->isVisible());

    // The wheel scrolls whole rows; the grey row follows the resting pointer.
    pointAt(form, QPoint(5, 5));
    pointAt(list->viewport(), rowCentre(1));
    QCOMPARE(list->itemIndex(), 1);
    QWheelEvent wheel(QPointF(rowCentre(1)), QPointF(list->viewport()->mapToGlobal(rowCentre(1))),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(list->viewport(), &wheel);
    settle();
    const int scrolled = list->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    QCOMPARE(list->itemIndex(), 1 + scrolled);

    // Rows keep their height and rules at their scrolled places.
    const int current = rowOf("performance");
    QVERIFY(current != 1 + scrolled);
    const QImage image = list->grab().toImage();
    for (int visible = 0; visible < 7 && visible + scrolled < list->count(); ++visible) {
        const int row = visible + scrolled;
        const QColor expected = row == 1 + scrolled ? Grey : row == current ? Red : Black;
        QCOMPARE(image.pixelColor(20, visible * 35 + 17), expected);
    }

    const QByteArray clicked = TForm_FnBase::schemeOfRow(list->item(1 + scrolled));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    settle();
    QVERIFY(!form->isVisible());
    QCOMPARE(laptop::readFile(CommonPath), commonWith(m_common, clicked, "powersave"));
}

void TestSchemepop::emptyListDoesNothing()
{
    for (const QByteArray& name : ListSchemes()) {
        QVERIFY(QFile::rename(QStringLiteral("/opt/nexalt/pm/scheme/scheme_") + name,
                              QStringLiteral("/opt/nexalt/pm/scheme/hidden_") + name));
        m_hiddenSchemes << name;
    }
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QCOMPARE(form->LstBx_Scheme->count(), 0);
    QVERIFY(!form->LstBx_Scheme->verticalScrollBar()->isVisible());
    const QImage image = form->LstBx_Scheme->grab().toImage();
    for (int y = 0; y < 250; y += 7) {
        QCOMPARE(image.pixelColor(258, y), Black);
    }
    pointAt(form->LstBx_Scheme->viewport(), rowCentre(0));
    QTest::mouseClick(form->LstBx_Scheme->viewport(), Qt::LeftButton, {}, rowCentre(0));
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(laptop::calls().isEmpty());
    QVERIFY(endsProgram(
        [&] { QTest::mouseClick(form->spdBtn_Closeb, Qt::LeftButton, {}, QPoint(20, 20)); }));
}

void TestSchemepop::hoverLatchesTheLinkedButton()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    TSpeedButton* closeb = form->spdBtn_Closeb;
    TSpeedButton* openAC = form->spdBtn_OpenAC;

    pointAt(form->Label_Close, QPoint(5, 5));
    QVERIFY(closeb->isDown());
    QCOMPARE(closeb->currentFrame(), TSpeedButton::FrameDown);
    QVERIFY(!openAC->isDown());

    pointAt(form->Label_OpenPM, QPoint(5, 5));
    QVERIFY(!closeb->isDown());
    QVERIFY(openAC->isDown());

    pointAt(openAC, QPoint(20, 20));
    QVERIFY(openAC->isDown());
    pointAt(closeb, QPoint(20, 20));
    QVERIFY(closeb->isDown());
    QVERIFY(!openAC->isDown());

    pointAt(form, QPoint(300, 315)); // open space between the controls
    QVERIFY(!closeb->isDown());
    QVERIFY(!openAC->isDown());

    pointAt(form->spdBtn_Close, QPoint(8, 8));
    QVERIFY(!form->spdBtn_Close->isDown());
    QVERIFY(!closeb->isDown() && !openAC->isDown());
}

void TestSchemepop::clicksOfButtonsAndLabels_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("opensPowerManager");
    QTest::newRow("small close button") << "spdBtn_Close" << Qt::LeftButton << false;
    QTest::newRow("close button") << "spdBtn_Closeb" << Qt::LeftButton << false;
    QTest::newRow("close label") << "Label_Close" << Qt::LeftButton << false;
    QTest::newRow("close label, middle") << "Label_Close" << Qt::MiddleButton << false;
    QTest::newRow("power manager button") << "spdBtn_OpenAC" << Qt::LeftButton << true;
    QTest::newRow("power manager label") << "Label_OpenPM" << Qt::LeftButton << true;
    QTest::newRow("power manager label, middle") << "Label_OpenPM" << Qt::MiddleButton << true;
}

void TestSchemepop::clicksOfButtonsAndLabels()
{
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, opensPowerManager);

    TForm_FnBase* form = showForm();
    QVERIFY(form);
    auto* widget = form->findChild<QWidget*>(control);
    QVERIFY(widget);

    pointAt(widget, QPoint(4, 4));
    QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(4, 4));
    QVERIFY(form->isVisible());
    QVERIFY(laptop::calls().isEmpty());

    QVERIFY(endsProgram([&] { QTest::mouseClick(widget, button, {}, QPoint(4, 4)); }));
    QVERIFY(!form->isVisible());
    if (opensPowerManager) {
        const QList<laptop::Call> calls = laptop::calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().program, PowerManager);
        QCOMPARE(calls.first().args, QStringList{QStringLiteral("start")});
        QCOMPARE(calls.first().shellCommand,
                 QStringLiteral("/opt/nexalt/pm/pm.sh start &> /dev/null"));
    } else {
        QVERIFY(laptop::calls().isEmpty());
    }
    QCOMPARE(laptop::readFile(CommonPath), m_common);
}

void TestSchemepop::powerManagerBlocksThenCloses()
{
    laptop::setBehaviour(QStringLiteral("pm.sh"), 3, 1);
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    // The click waits for the command (one second) and closes afterwards.
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(form->Label_OpenPM, Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY2(timer.elapsed() >= 900, "the click returned before the command had ended");
    QVERIFY(!form->isVisible());
    const QList<laptop::Call> calls = laptop::callsOf(PowerManager);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().exitCode, 3); // a failed command closes all the same
}

void TestSchemepop::rightClickChangesNothing()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    const int row = rowOf("presentation");
    pointAt(form->LstBx_Scheme->viewport(), rowCentre(row));
    QCOMPARE(form->LstBx_Scheme->itemIndex(), row);

    clickRow(row, Qt::RightButton);
    QTest::mouseDClick(form->LstBx_Scheme->viewport(), Qt::RightButton, {}, rowCentre(row));
    QTest::mouseRelease(form->LstBx_Scheme->viewport(), Qt::RightButton, {}, rowCentre(row));
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(form->LstBx_Scheme->isVisible());
    QCOMPARE(form->LstBx_Scheme->itemIndex(), row);
    QCOMPARE(form->CurrentScheme, QByteArray("performance"));
    QVERIFY(laptop::calls().isEmpty());
    QCOMPARE(laptop::readFile(CommonPath), m_common);
}

void TestSchemepop::clickBelowLastRowDoesNothing()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    const QPoint below(258, form->LstBx_Scheme->count() * 35 + 10);
    pointAt(form->LstBx_Scheme->viewport(), below);
    QTest::mouseClick(form->LstBx_Scheme->viewport(), Qt::LeftButton, {}, below);
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(form->LstBx_Scheme->isVisible());
    QVERIFY(laptop::calls().isEmpty());
    QCOMPARE(laptop::readFile(CommonPath), m_common);
}

void TestSchemepop::onlyPressAndReleaseOnARowActivate()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(QApplication::focusWidget(), form->LstBx_Scheme);
    QWidget* viewport = form->LstBx_Scheme->viewport();

    // Pointer outside the list: the key's notification finds no row.
    pointAt(form, QPoint(100, 340));
    QTest::keyClick(form->LstBx_Scheme, Qt::Key_Down);
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(laptop::calls().isEmpty());

    // Pointer resting on "presentation": neither an arrow key nor the grey
    // row being cleared (the pointer leaving and coming back quickly, a
    // message box closing) activates it, nor a press there released on
    // another row.
    const int row = rowOf("presentation");
    const int other = row == 0 ? 1 : 0;
    pointAt(viewport, rowCentre(row));
    QTest::keyClick(form->LstBx_Scheme, row == 0 ? Qt::Key_Down : Qt::Key_Up);
    form->LstBx_Scheme->setItemIndex(row);
    form->LstBx_SchemeMouseLeave();
    QTest::mousePress(viewport, Qt::LeftButton, {}, rowCentre(row));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowCentre(other));
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(form->LstBx_Scheme->isVisible());
    QVERIFY(laptop::calls().isEmpty());
    QCOMPARE(laptop::readFile(CommonPath), m_common);

    QVERIFY(endsProgram([&] { clickRow(row); }));
    QCOMPARE(laptop::readFile(CommonPath), commonWith(m_common, "presentation", "powersave"));
}

void TestSchemepop::clickTakesTheRowFromItsEvents()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QWidget* viewport = form->LstBx_Scheme->viewport();
    // Qt's idea of the window's position is stale: mapped through it, the
    // pointer's screen position lies outside the list, while the events
    // over the list give the row.
    const int row = rowOf("presentation");
    pointAt(form, QPoint(5, 5));
    popuptest::moveOverStaleWindow(viewport, rowCentre(row));
    QVERIFY(endsProgram([&] { QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(row)); }));
    QCOMPARE(form->CurrentScheme, QByteArray("presentation"));
    QCOMPARE(laptop::readFile(CommonPath), commonWith(m_common, "presentation", "powersave"));
}

void TestSchemepop::clickActivatesScheme_data()
{
    QTest::addColumn<QStringList>("battery");
    QTest::addColumn<int>("reloadExit");
    QTest::addColumn<QByteArray>("clicked");
    QTest::addColumn<QByteArray>("ac");
    QTest::addColumn<QByteArray>("batteryScheme");
    QTest::addColumn<QStringList>("calls");
    const QStringList reloaded{Reload + QStringLiteral(" reload"),
                               IdleTime + QStringLiteral(" restart")};
    QTest::newRow("mains") << QStringList{QStringLiteral("ac=yes")} << 0 << QByteArray("powersave")
                           << QByteArray("powersave") << QByteArray("powersave") << reloaded;
    QTest::newRow("battery") << QStringList{QStringLiteral("ac=no")} << 0
                             << QByteArray("presentation") << QByteArray("performance")
                             << QByteArray("presentation") << reloaded;
    QTest::newRow("no state file")
        << QStringList{QStringLiteral("present=no")} << 0 << QByteArray("performance")
        << QByteArray("performance") << QByteArray("performance") << reloaded;
    QTest::newRow("already active")
        << QStringList{QStringLiteral("ac=yes")} << 0 << QByteArray("performance")
        << QByteArray("performance") << QByteArray("powersave") << reloaded;
    QTest::newRow("reload fails") << QStringList{QStringLiteral("ac=yes")} << 1
                                  << QByteArray("presentation") << QByteArray("presentation")
                                  << QByteArray("powersave")
                                  << QStringList{Reload + QStringLiteral(" reload"),
                                                 Reload + QStringLiteral(" start"),
                                                 IdleTime + QStringLiteral(" restart")};
}

void TestSchemepop::clickActivatesScheme()
{
    QFETCH(QStringList, battery);
    QFETCH(int, reloadExit);
    QFETCH(QByteArray, clicked);
    QFETCH(QByteArray, ac);
    QFETCH(QByteArray, batteryScheme);
    QFETCH(QStringList, calls);
    laptop::battery(0, battery);
    laptop::setBehaviour(QStringLiteral("powersaved.reload"), reloadExit, 0);

    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QVERIFY(endsProgram([&] { clickRow(rowOf(clicked)); }));
    QVERIFY(!form->isVisible());
    QCOMPARE(form->CurrentScheme, clicked);
    QCOMPARE(laptop::readFile(CommonPath), commonWith(m_common, ac, batteryScheme));
    QCOMPARE(callSummary(), calls);
}

void TestSchemepop::unreadableStateIsReadAgainBeforeWriting()
{
    laptop::battery(0, {QStringLiteral("readable=no")});
    MessageBoxCatcher catcher;
    TForm_FnBase* form = showForm();
    QVERIFY(form);

    // The filling stopped at the power state: rows are there, nothing is red.
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().first().icon, QMessageBox::Critical);
    QVERIFY2(catcher.boxes().first().text.contains(QStringLiteral("/proc/H8/BAT0/state")),
             qPrintable(catcher.boxes().first().text));
    QCOMPARE(form->LstBx_Scheme->count(), ListSchemes().size());
    QCOMPARE(form->PowerState, 0);
    QVERIFY(form->ACScheme.isEmpty() && form->BatteryScheme.isEmpty());
    QVERIFY(form->CurrentScheme.isEmpty());
    QCOMPARE(fillOfRow(rowOf("performance")), Black);

    // Still unreadable at the click: reported again, nothing written.
    clickRow(rowOf("presentation"));
    QCOMPARE(catcher.boxes().size(), 2);
    QVERIFY(form->isVisible());
    QVERIFY(form->LstBx_Scheme->isVisible());
    QCOMPARE(laptop::readFile(CommonPath), m_common);
    QVERIFY(laptop::calls().isEmpty());

    // Readable again (on battery now): the click reads both schemes and the
    // power source first, so the mains scheme is written back as stored.
    laptop::battery(0, {QStringLiteral("readable=yes"), QStringLiteral("ac=no")});
    clickRow(rowOf("presentation"));
    QCOMPARE(catcher.boxes().size(), 2);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->PowerState, 1);
    QCOMPARE(laptop::readFile(CommonPath), commonWith(m_common, "performance", "presentation"));
    QCOMPARE(callSummary().size(), 2);
}

void TestSchemepop::missingConfigurationIsReportedAndNotWritten()
{
    QVERIFY(QFile::remove(CommonPath));
    MessageBoxCatcher catcher;
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().first().text,
             QStringLiteral("Cound not find file: /etc/sysconfig/powersave/common"));
    QVERIFY(form->CurrentScheme.isEmpty());
    for (int i = 0; i < form->LstBx_Scheme->count(); ++i) {
        QCOMPARE(fillOfRow(i), Black);
    }

    // The click fails at the key update: the error is shown, the list stays
    // hidden, nothing is written or run, and the popup stays open.
    clickRow(rowOf("powersave"));
    QCOMPARE(catcher.boxes().size(), 2);
    QCOMPARE(catcher.boxes().last().icon, QMessageBox::Critical);
    QVERIFY(catcher.boxes().last().text.contains(CommonPath));
    QVERIFY(form->isVisible());
    QVERIFY(!form->LstBx_Scheme->isVisible());
    QVERIFY(!QFile::exists(CommonPath));
    QVERIFY(laptop::calls().isEmpty());

    // The close label still works.
    pointAt(form->Label_Close, QPoint(4, 4));
    QTest::mouseClick(form->Label_Close, Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(!form->isVisible());
}

void TestSchemepop::keysCloseNothing()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    pointAt(form, QPoint(100, 340));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(form->LstBx_Scheme, key);
        QTest::keyClick(form, key);
    }
    settle();
    QVERIFY(form->isVisible());
    QVERIFY(form->LstBx_Scheme->isVisible());
    QVERIFY(laptop::calls().isEmpty());
}

void TestSchemepop::windowManagerCloseRequestCloses()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    QCloseEvent request;
    QVERIFY(endsProgram([&] { QCoreApplication::sendEvent(form->windowHandle(), &request); }));
    QVERIFY(request.isAccepted());
    QVERIFY(!form->isVisible());
    QVERIFY(laptop::calls().isEmpty());
}

void TestSchemepop::activationIsTraced()
{
    StdoutCapture capture;
    TForm_FnBase* form = showForm();
    QVERIFY(form);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));

    QWidget otherProgram;
    otherProgram.setGeometry(0, 0, 50, 50);
    otherProgram.show();
    otherProgram.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
    QVERIFY(form->isVisible());

    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(capture.text(), QByteArray("FormActivate\nFormDeactivate\nFormActivate\n"));
}

QTEST_MAIN(TestSchemepop)
#include "tst_schemepop.moc"
