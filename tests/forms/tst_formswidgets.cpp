// SPDX-License-Identifier: GPL-2.0-or-later
// The form toolkit's controls on their own: glyph strips, image buttons with
// their latch group, clickable labels and the owner-drawn list's
// notification rules.

#include "forms/errorbox.h"
#include "forms/glyphstrip.h"
#include "forms/tlabel.h"
#include "forms/tlistbox.h"
#include "forms/tspeedbutton.h"

#include "popuptesting.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

const QColor Magenta(255, 0, 255);
const QColor Blue(0, 0, 255);

// A strip of `count` square frames of `size`, frame i filled with grey 40*(i+1),
// with the bottom-left pixel in magenta (the transparent colour).
QPixmap testStrip(int size, int count)
{
    QImage image(size * count, size, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        const int g = 40 * (i + 1);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                image.setPixelColor(i * size + x, y, QColor(g, g, g));
            }
        }
    }
    image.setPixelColor(0, size - 1, Magenta);
    return QPixmap::fromImage(image);
}

QImage paintFrame(const GlyphStrip& strip, const QSize& target, int index)
{
    QImage image(target, QImage::Format_RGB32);
    image.fill(Blue);
    QPainter painter(&image);
    strip.paint(painter, image.rect(), index);
    return image;
}

} // namespace

class TestFormsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void errorBoxShowsMarkupAsText();
    void glyphFrameIsCentredAndClipped();
    void glyphTransparentColourIsNotPainted();
    void missingGlyphFrameFallsBackToFirst();
    void speedButtonShowsFrameOfItsState();
    void latchGroupKeepsAtMostOneButtonDown();
    void clickNeedsLeftOrMiddleReleasedOver_data();
    void clickNeedsLeftOrMiddleReleasedOver();
    void labelClicksAndFitsItsText();
    void listSelectionByOwnerRaisesClickOnlyWhenClearing();
    void listUserSelectionRaisesClick();
    void listIgnoresRightButton();
    void listClickNeedsReleaseInside();
    void listReportsPointerAndPaintsThroughOwner();
    void listFindsOnlyExistingRows();
    void listNamesTheClickedRowOnlyForPressAndRelease();
    void listHoverSelectionNeverScrolls();
    void listScrollTracksThePointerOfItsEvents();
};

// A scheme name in a message is text, whatever it looks like.
void TestFormsWidgets::errorBoxShowsMarkupAsText()
{
    const QString message = QStringLiteral("<b>fast</b> & <i>quiet</i> could not be read");
    popuptest::MessageBoxCatcher catcher;
    showErrorBox(nullptr, message);
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().first().icon, QMessageBox::Critical);
    QCOMPARE(catcher.boxes().first().text, message);
    QCOMPARE(catcher.boxes().first().format, Qt::PlainText);
}

void TestFormsWidgets::glyphFrameIsCentredAndClipped()
{
    // 44 x 44 frames on a 40 x 40 button: two pixels cut off on every side.
    QImage source(176, 44, QImage::Format_RGB32);
    source.fill(Qt::black);
    source.setPixelColor(3 * 44 + 2, 2, QColor(10, 200, 30));   // frame 4, its (2, 2)
    source.setPixelColor(3 * 44 + 41, 41, QColor(30, 40, 250)); // frame 4, its (41, 41)
    source.setPixelColor(3 * 44 + 1, 1, QColor(200, 200, 200)); // outside the button
    for (int x = 0; x < 176; ++x) {
        source.setPixelColor(x, 43, QColor(255, 0, 0));
    }
    const GlyphStrip strip(QPixmap::fromImage(source), 4);
    QCOMPARE(strip.frameSize(), QSize(44, 44));

    const QImage shown = paintFrame(strip, QSize(40, 40), 3);
    QCOMPARE(shown.pixelColor(0, 0), QColor(10, 200, 30));
    QCOMPARE(shown.pixelColor(39, 39), QColor(30, 40, 250));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            QVERIFY2(shown.pixelColor(x, y) != QColor(200, 200, 200), "pixel outside the frame");
            QVERIFY2(shown.pixelColor(x, y) != QColor(255, 0, 0), "transparent row painted");
        }
    }
}

void TestFormsWidgets::glyphTransparentColourIsNotPainted()
{
    QImage source = testStrip(16, 4).toImage();
    source.setPixelColor(16 + 7, 7, Magenta); // inside frame 2
    const GlyphStrip strip(QPixmap::fromImage(source), 4);

    const QImage frame2 = paintFrame(strip, QSize(16, 16), 1);
    QCOMPARE(frame2.pixelColor(7, 7), Blue);
    QCOMPARE(frame2.pixelColor(8, 8), QColor(80, 80, 80));
    const QImage frame1 = paintFrame(strip, QSize(16, 16), 0);
    QCOMPARE(frame1.pixelColor(0, 15), Blue);
    QCOMPARE(frame1.pixelColor(7, 7), QColor(40, 40, 40));
}

void TestFormsWidgets::missingGlyphFrameFallsBackToFirst()
{
    const GlyphStrip strip(testStrip(16, 2), 2);
    QCOMPARE(paintFrame(strip, QSize(16, 16), 3).pixelColor(8, 8), QColor(40, 40, 40));
    QCOMPARE(paintFrame(strip, QSize(16, 16), 1).pixelColor(8, 8), QColor(80, 80, 80));
}

void TestFormsWidgets::speedButtonShowsFrameOfItsState()
{
    QWidget parent;
    auto* button = new TSpeedButton(&parent);
    button->setGeometry(10, 10, 16, 16);
    button->setGlyph(testStrip(16, 4));
    button->setNumGlyphs(4);
    button->setFlat(true);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    const auto shownGrey = [button] { return button->grab().toImage().pixelColor(8, 8).red(); };
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameUp);
    QCOMPARE(shownGrey(), 40);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(button->currentFrame(), TSpeedButton::FramePressed);
    QCOMPARE(shownGrey(), 120);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameUp);

    QTest::mousePress(button, Qt::MiddleButton, {}, QPoint(8, 8));
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameUp);
    QTest::mouseRelease(button, Qt::MiddleButton, {}, QPoint(8, 8));

    button->setDown(true);
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameDown);
    QCOMPARE(shownGrey(), 160);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameDown); // a latched button stays latched
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(8, 8));

    button->setEnabled(false);
    QCOMPARE(button->currentFrame(), TSpeedButton::FrameDisabled);
    QCOMPARE(shownGrey(), 80);
}

void TestFormsWidgets::latchGroupKeepsAtMostOneButtonDown()
{
    QWidget parent;
    auto* a = new TSpeedButton(&parent);
    auto* b = new TSpeedButton(&parent);
    auto* other = new TSpeedButton(&parent);
    auto* ungrouped = new TSpeedButton(&parent);
    for (TSpeedButton* button : {a, b}) {
        button->setGroupIndex(1);
        button->setAllowAllUp(true);
    }
    other->setGroupIndex(2);

    other->setDown(true);
    a->setDown(true);
    QVERIFY(a->isDown());
    b->setDown(true);
    QVERIFY(b->isDown());
    QVERIFY(!a->isDown());
    QVERIFY(other->isDown()); // another group is left alone
    b->setDown(false);
    QVERIFY(!a->isDown() && !b->isDown());

    // Without "all up" the last latched button of a group stays latched.
    other->setDown(false);
    QVERIFY(other->isDown());

    ungrouped->setDown(true);
    ungrouped->setDown(false);
    QVERIFY(!ungrouped->isDown());
}

void TestFormsWidgets::clickNeedsLeftOrMiddleReleasedOver_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicks");
    QTest::newRow("left") << Qt::LeftButton << QPoint(5, 5) << 1;
    QTest::newRow("middle") << Qt::MiddleButton << QPoint(5, 5) << 1;
    QTest::newRow("right") << Qt::RightButton << QPoint(5, 5) << 0;
    QTest::newRow("left released outside") << Qt::LeftButton << QPoint(30, 5) << 0;
}

void TestFormsWidgets::clickNeedsLeftOrMiddleReleasedOver()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicks);

    QWidget parent;
    parent.resize(100, 100);
    auto* speed = new TSpeedButton(&parent);
    speed->setGeometry(0, 0, 16, 16);
    auto* label = new TLabel(&parent);
    label->setGeometry(0, 50, 20, 16);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QSignalSpy buttonClicks(speed, &TSpeedButton::Click);
    QTest::mousePress(speed, button, {}, QPoint(5, 5));
    QTest::mouseRelease(speed, button, {}, releaseAt);
    QCOMPARE(buttonClicks.count(), clicks);

    QSignalSpy labelClicks(label, &TLabel::Click);
    QTest::mousePress(label, button, {}, QPoint(5, 5));
    QTest::mouseRelease(label, button, {}, releaseAt);
    QCOMPARE(labelClicks.count(), clicks);
}

void TestFormsWidgets::labelClicksAndFitsItsText()
{
    QWidget parent;
    auto* label = new TLabel(&parent);
    label->setGeometry(30, 40, 10, 22);
    label->setAutoSize(true);
    label->setText(QStringLiteral("Open Power Manager..."));
    QCOMPARE(
        label->width(),
        QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("Open Power Manager...")));
    QCOMPARE(label->pos(), QPoint(30, 40));
    QCOMPARE(label->height(), 22);

    QFont bigger = label->font();
    bigger.setPixelSize(30);
    const int before = label->width();
    label->setFont(bigger);
    QVERIFY(label->width() > before);

    auto* button = new TSpeedButton(&parent);
    label->setLinkedButton(button);
    QCOMPARE(label->linkedButton(), button);
}

namespace {

// A shown list of five rows of 35 pixels in a 516 x 250 list.
struct ListFixture
{
    QWidget window;
    TListBox* list = new TListBox(&window);

    ListFixture()
    {
        window.resize(516, 300);
        list->setGeometry(0, 0, 516, 250);
        list->setFrameStyle(QFrame::NoFrame);
        list->setItemHeight(35);
        for (const char* name : {"one", "two", "three", "four", "five"}) {
            list->addItem(QString::fromLatin1(name));
        }
        window.show();
        list->setFocus();
    }

    // Ten rows: seven whole ones and five pixels of the eighth are visible.
    void addRowsToScroll()
    {
        for (const char* name : {"six", "seven", "eight", "nine", "ten"}) {
            list->addItem(QString::fromLatin1(name));
        }
    }

    QPoint rowCentre(int row) const { return QPoint(258, row * 35 + 17); }
};

} // namespace

void TestFormsWidgets::listSelectionByOwnerRaisesClickOnlyWhenClearing()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QSignalSpy clicks(f.list, &TListBox::Click);

    f.list->setItemIndex(2);
    QCOMPARE(f.list->itemIndex(), 2);
    f.list->setItemIndex(3);
    QCOMPARE(f.list->itemIndex(), 3);
    QCOMPARE(clicks.count(), 0);

    f.list->setItemIndex(-1);
    QCOMPARE(f.list->itemIndex(), -1);
    QCOMPARE(clicks.count(), 1);
    f.list->setItemIndex(-1); // nothing was selected: nothing to clear
    QCOMPARE(clicks.count(), 1);
}

void TestFormsWidgets::listUserSelectionRaisesClick()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.list->setItemIndex(1);
    QSignalSpy clicks(f.list, &TListBox::Click);

    QTest::keyClick(f.list, Qt::Key_Down);
    QCOMPARE(f.list->itemIndex(), 2);
    QCOMPARE(clicks.count(), 1);

    // A press on a row that was not selected selects it and notifies; the
    // release inside the list notifies again.
    QTest::mousePress(f.list->viewport(), Qt::LeftButton, {}, f.rowCentre(4));
    QCOMPARE(f.list->itemIndex(), 4);
    QCOMPARE(clicks.count(), 2);
    QTest::mouseRelease(f.list->viewport(), Qt::LeftButton, {}, f.rowCentre(4));
    QCOMPARE(clicks.count(), 3);

    // Keys that the list does not understand change nothing.
    QTest::keyClick(f.list, Qt::Key_Escape);
    QTest::keyClick(f.list, Qt::Key_Return);
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(f.list->itemIndex(), 4);
}

void TestFormsWidgets::listIgnoresRightButton()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.list->setItemIndex(1);
    QSignalSpy clicks(f.list, &TListBox::Click);

    QTest::mouseClick(f.list->viewport(), Qt::RightButton, {}, f.rowCentre(3));
    QTest::mouseDClick(f.list->viewport(), Qt::RightButton, {}, f.rowCentre(3));
    QTest::mouseRelease(f.list->viewport(), Qt::RightButton, {}, f.rowCentre(3));
    QCOMPARE(f.list->itemIndex(), 1);
    QCOMPARE(clicks.count(), 0);
}

void TestFormsWidgets::listClickNeedsReleaseInside()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    f.list->setItemIndex(0);
    QSignalSpy clicks(f.list, &TListBox::Click);

    // The selection does not change here: only the clicks notify.
    QTest::mouseClick(f.list->viewport(), Qt::MiddleButton, {}, f.rowCentre(0));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QCOMPARE(clicks.count(), 2);
    QTest::mousePress(f.list->viewport(), Qt::LeftButton, {}, f.rowCentre(0));
    QTest::mouseRelease(f.list->viewport(), Qt::LeftButton, {}, QPoint(100, 270));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(f.list->itemIndex(), 0);

    // Below the last row with nothing selected: the click still notifies.
    f.list->setItemIndex(-1);
    QCOMPARE(clicks.count(), 3);
    QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, QPoint(100, 230));
    QCOMPARE(clicks.count(), 4);
    QCOMPARE(f.list->itemIndex(), -1);
}

void TestFormsWidgets::listReportsPointerAndPaintsThroughOwner()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QSignalSpy moves(f.list, &TListBox::MouseMove);
    QSignalSpy leaves(f.list, &TListBox::MouseLeave);

    popuptest::pointAt(f.list, QPoint(50, 60));
    QVERIFY(!moves.isEmpty());
    QCOMPARE(moves.last().at(0).toPoint(), QPoint(50, 60));
    QCOMPARE(leaves.count(), 0);
    popuptest::pointAt(&f.window, QPoint(50, 280));
    QCOMPARE(leaves.count(), 1);

    struct Painted
    {
        int index;
        QRect rect;
        int state;
        bool canvas;
    };
    QList<Painted> painted;
    QObject::connect(f.list, &TListBox::DrawItem, f.list,
                     [&](int index, const QRect& rect, int state) {
                         painted.append({index, rect, state, f.list->canvas() != nullptr});
                     });
    f.list->setItemIndex(2);
    f.list->grab();
    QCOMPARE(painted.size(), 5);
    for (const Painted& p : painted) {
        QCOMPARE(p.rect, QRect(0, p.index * 35, 516, 35));
        QCOMPARE(bool(p.state & TListBox::odSelected), p.index == 2);
        QVERIFY(p.canvas);
    }
    QVERIFY(f.list->canvas() == nullptr);
}

void TestFormsWidgets::listFindsOnlyExistingRows()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QCOMPARE(f.list->itemAtPos(QPoint(1, 0)), 0);
    QCOMPARE(f.list->itemAtPos(QPoint(515, 174)), 4);
    QCOMPARE(f.list->itemAtPos(QPoint(10, 175)), -1); // below the last row
    QCOMPARE(f.list->itemAtPos(QPoint(-1, 10)), -1);
    f.list->hide();
    QCOMPARE(f.list->itemAtPos(QPoint(10, 10)), -1);
}

void TestFormsWidgets::listNamesTheClickedRowOnlyForPressAndRelease()
{
    ListFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QList<int> clicked; // clickedRow() at every Click
    QObject::connect(f.list, &TListBox::Click, f.list,
                     [&] { clicked.append(f.list->clickedRow()); });
    QWidget* viewport = f.list->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, f.rowCentre(2));
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, f.rowCentre(2));
    // The press on row 2 selected it: only the release notifies.
    QCOMPARE(clicked, (QList<int>{-1, 2, 2}));
    QCOMPARE(f.list->clickedRow(), -1);

    // Pressed on one row, released on another or below the rows: no row.
    clicked.clear();
    QTest::mousePress(viewport, Qt::LeftButton, {}, f.rowCentre(2));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, f.rowCentre(3));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(100, 230));
    QCOMPARE(clicked, (QList<int>{-1, -1}));

    // Notifications of keys and of the owner clearing a row name none.
    clicked.clear();
    f.list->setItemIndex(1);
    QTest::keyClick(f.list, Qt::Key_Down);
    f.list->setItemIndex(-1);
    QCOMPARE(clicked, (QList<int>{-1, -1}));
}

void TestFormsWidgets::listHoverSelectionNeverScrolls()
{
    ListFixture f;
    f.addRowsToScroll();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QScrollBar* bar = f.list->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);

    f.list->setItemIndex(7); // the partly visible eighth row
    QCOMPARE(f.list->itemIndex(), 7);
    f.list->setItemIndex(9);
    QCOMPARE(bar->value(), 0);

    // The keys still scroll to the row they select.
    f.list->setItemIndex(6);
    QTest::keyClick(f.list, Qt::Key_Down);
    QCOMPARE(f.list->itemIndex(), 7);
    QVERIFY(bar->value() > 0);
}

void TestFormsWidgets::listScrollTracksThePointerOfItsEvents()
{
    ListFixture f;
    f.addRowsToScroll();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    QWidget* viewport = f.list->viewport();
    popuptest::pointAt(viewport, QPoint(100, 60));
    QSignalSpy moves(f.list, &TListBox::MouseMove);

    // Qt maps screen positions through a stale window position: after a
    // scroll the pointer is where the last event over the list put it.
    popuptest::moveOverStaleWindow(viewport, QPoint(100, 130));
    f.list->verticalScrollBar()->setValue(1);
    QCOMPARE(moves.last().at(0).toPoint(), QPoint(100, 130));

    const QPoint at(120, 200);
    QWheelEvent wheel(QPointF(at),
                      QPointF(viewport->mapToGlobal(at) + popuptest::StaleWindowOffset), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
    QVERIFY(f.list->verticalScrollBar()->value() > 1);
    QCOMPARE(moves.last().at(0).toPoint(), at);

    // Gone from the list: a scroll reports nothing.
    popuptest::pointAt(&f.window, QPoint(50, 280));
    const qsizetype seen = moves.count();
    f.list->verticalScrollBar()->setValue(0);
    QCOMPARE(moves.count(), seen);
}

QTEST_MAIN(TestFormsWidgets)
#include "tst_formswidgets.moc"
