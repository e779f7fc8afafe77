// SPDX-License-Identifier: GPL-2.0-or-later
#include <kpopupmenu.h>

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidgetAction>

/// Receives menu activations the Qt 3 way: with the item id or with nothing.
class Receiver : public QObject
{
    Q_OBJECT

public:
    int plainCalls = 0;
    QList<int> ids;

public Q_SLOTS:
    void plain() { ++plainCalls; }
    void withId(int id) { ids << id; }
};

class TestKPopupMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void automaticIdsAreUniqueAndNeverSmallPositives();
    void explicitIdIsKeptAndReplacesAnOlderItem();
    void indexPlacesItemsAndBeyondTheEndAppends();
    void removeItemForgetsOnlyThatItem();
    void textOfUnknownIdIsNull();
    void checkedState();
    void choosingAnItemLeavesItsMark();
    void activationReportsTheId();
    void slotsReceiveTheIdOrNothing();
    void submenuItemsAreNotReportedByTheParent();
    void clearEmptiesButLeavesSubmenusAlive();
    void titleIsAnUnselectableItemWithText();
    void titleIsNotGreyedOut_data();
    void titleIsNotGreyedOut();
};

void TestKPopupMenu::automaticIdsAreUniqueAndNeverSmallPositives()
{
    KPopupMenu menu;
    KPopupMenu other;
    QSet<int> ids;
    for (int i = 0; i < 50; ++i) {
        ids << menu.insertItem(QStringLiteral("item %1").arg(i));
        ids << other.insertItem(QStringLiteral("other %1").arg(i));
    }
    ids << menu.insertTitle(QPixmap(), QStringLiteral("title"));
    QCOMPARE(ids.size(), 101);
    // Callers use small positive values (such as 100) as markers of their own.
    for (int id : ids) {
        QVERIFY2(id < 0 && id != -1, qPrintable(QString::number(id)));
    }
}

void TestKPopupMenu::explicitIdIsKeptAndReplacesAnOlderItem()
{
    KPopupMenu menu;
    QCOMPARE(menu.insertItem(QStringLiteral("first"), 7), 7);
    QCOMPARE(menu.text(7), QStringLiteral("first"));
    QCOMPARE(menu.insertItem(QStringLiteral("second"), 7), 7);
    QCOMPARE(menu.text(7), QStringLiteral("second"));
    QCOMPARE(menu.count(), 1);
}

void TestKPopupMenu::indexPlacesItemsAndBeyondTheEndAppends()
{
    KPopupMenu menu;
    const int a = menu.insertItem(QStringLiteral("a"));
    const int c = menu.insertItem(QStringLiteral("c"));
    const int b = menu.insertItem(QStringLiteral("b"), -1, 1);
    menu.insertSeparator(100);
    const int last = menu.insertItem(QStringLiteral("last"), -1, 1000);
    const int first = menu.insertTitle(QPixmap(), QStringLiteral("title"), -1, 0);

    QCOMPARE(menu.count(), 6);
    QCOMPARE(menu.idAt(0), first);
    QCOMPARE(menu.idAt(1), a);
    QCOMPARE(menu.idAt(2), b);
    QCOMPARE(menu.idAt(3), c);
    QVERIFY(menu.actions().at(4)->isSeparator());
    QCOMPARE(menu.idAt(5), last);
    QCOMPARE(menu.indexOf(last), 5);
}

void TestKPopupMenu::removeItemForgetsOnlyThatItem()
{
    KPopupMenu menu;
    const int a = menu.insertItem(QStringLiteral("a"));
    const int b = menu.insertItem(QStringLiteral("b"));
    QPointer<QAction> actionA = menu.actionForId(a);
    menu.removeItem(a);
    QVERIFY(menu.text(a).isNull());
    QVERIFY(actionA.isNull());
    QCOMPARE(menu.text(b), QStringLiteral("b"));
    QCOMPARE(menu.count(), 1);
    menu.removeItem(12345); // unknown ids are ignored
    QCOMPARE(menu.count(), 1);
}

void TestKPopupMenu::textOfUnknownIdIsNull()
{
    KPopupMenu menu;
    QVERIFY(menu.text(-2).isNull());
    QVERIFY(menu.text(100).isNull());
    const int empty = menu.insertItem(QString());
    QVERIFY(!menu.text(empty).isNull());
    QVERIFY(menu.text(empty).isEmpty());
    const int amp = menu.insertItem(QStringLiteral("&Quit"));
    QCOMPARE(menu.text(amp), QStringLiteral("&Quit"));
}

void TestKPopupMenu::checkedState()
{
    KPopupMenu menu;
    const int a = menu.insertItem(QStringLiteral("a"));
    const int b = menu.insertItem(QStringLiteral("b"));
    QVERIFY(!menu.isItemChecked(a));
    menu.setItemChecked(a, true);
    QVERIFY(menu.isItemChecked(a));
    QVERIFY(!menu.isItemChecked(b));
    menu.setItemChecked(b, true);
    menu.setItemChecked(a, false);
    QVERIFY(!menu.isItemChecked(a));
    QVERIFY(menu.isItemChecked(b));
    menu.setItemChecked(999, true); // no such item: nothing happens
    QVERIFY(!menu.isItemChecked(999));
}

// As in Qt 3, only setItemChecked moves a mark; the activated slot decides.
void TestKPopupMenu::choosingAnItemLeavesItsMark()
{
    KPopupMenu menu;
    const int a = menu.insertItem(QStringLiteral("a"));
    const int b = menu.insertItem(QStringLiteral("b"));
    menu.setItemChecked(a, true);
    menu.setItemChecked(b, false);
    QList<bool> markWhenReported;
    connect(&menu, &KPopupMenu::activated, &menu,
            [&](int id) { markWhenReported << menu.isItemChecked(id); });
    menu.actionForId(a)->trigger();
    QVERIFY(menu.isItemChecked(a));
    menu.actionForId(b)->trigger();
    QVERIFY(!menu.isItemChecked(b));
    QCOMPARE(markWhenReported, (QList<bool>{true, false}));

    // The slot moves the mark itself.
    connect(&menu, &KPopupMenu::activated, &menu, [&](int id) {
        menu.setItemChecked(a, id == a);
        menu.setItemChecked(b, id == b);
    });
    menu.actionForId(b)->trigger();
    QVERIFY(menu.isItemChecked(b));
    QVERIFY(!menu.isItemChecked(a));
}

void TestKPopupMenu::activationReportsTheId()
{
    KPopupMenu menu;
    QSignalSpy spy(&menu, &KPopupMenu::activated);
    menu.insertItem(QStringLiteral("a"));
    const int b = menu.insertItem(QStringLiteral("b"));
    menu.actionForId(b)->trigger();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), b);
}

void TestKPopupMenu::slotsReceiveTheIdOrNothing()
{
    KPopupMenu menu;
    Receiver receiver;
    const int plain = menu.insertItem(QStringLiteral("plain"), &receiver, SLOT(plain()));
    const int withId = menu.insertItem(QPixmap(), QStringLiteral("with id"), &receiver,
                                       SLOT(withId(int)), QKeySequence(Qt::ALT | Qt::Key_Q));
    menu.actionForId(plain)->trigger();
    menu.actionForId(withId)->trigger();
    QCOMPARE(receiver.plainCalls, 1);
    QCOMPARE(receiver.ids, QList<int>{withId});
    QCOMPARE(menu.actionForId(withId)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Q));
}

void TestKPopupMenu::submenuItemsAreNotReportedByTheParent()
{
    KPopupMenu menu;
    KPopupMenu sub;
    const int subItem = sub.insertItem(QStringLiteral("in sub"));
    const int subEntry = menu.insertItem(QStringLiteral("sub"), &sub);
    QCOMPARE(menu.text(subEntry), QStringLiteral("sub"));
    QVERIFY(menu.text(subItem).isNull());
    QVERIFY(subItem != subEntry);

    QSignalSpy parentSpy(&menu, &KPopupMenu::activated);
    QSignalSpy subSpy(&sub, &KPopupMenu::activated);
    sub.actionForId(subItem)->trigger();
    QCOMPARE(subSpy.count(), 1);
    QCOMPARE(parentSpy.count(), 0);
}

void TestKPopupMenu::clearEmptiesButLeavesSubmenusAlive()
{
    KPopupMenu menu;
    auto* sub = new KPopupMenu;
    sub->insertItem(QStringLiteral("x"));
    const int entry = menu.insertItem(QStringLiteral("sub"), sub);
    menu.insertSeparator();
    const int item = menu.insertItem(QStringLiteral("item"));
    menu.clear();
    QCOMPARE(menu.count(), 0);
    QVERIFY(menu.text(entry).isNull());
    QVERIFY(menu.text(item).isNull());
    QCOMPARE(sub->count(), 1);
    // A submenu deleted while listed leaves the parent consistent.
    const int again = menu.insertItem(QStringLiteral("sub"), sub);
    delete sub;
    QVERIFY(menu.text(again).isNull());
    QCOMPARE(menu.count(), 0);
}

void TestKPopupMenu::titleIsAnUnselectableItemWithText()
{
    KPopupMenu menu;
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    const int title = menu.insertTitle(icon, QStringLiteral("Ovra- Ovra Tools"), -1, 0);
    QCOMPARE(menu.text(title), QStringLiteral("Ovra- Ovra Tools"));
    QVERIFY(!menu.actionForId(title)->isEnabled());
    QCOMPARE(menu.idAt(0), title);
}

void TestKPopupMenu::titleIsNotGreyedOut_data()
{
    QTest::addColumn<QString>("styleSheet");
    QTest::newRow("plain style") << QString();
    // As desktops' panels style their menus (LXQt's themes do so).
    QTest::newRow("desktop style sheet")
        << QStringLiteral("QMenu { background: #ffffff; color: #1a1a1a; }"
                          "QMenu::item:disabled { color: rgba(0, 0, 0, 50%); }");
}

void TestKPopupMenu::titleIsNotGreyedOut()
{
    QFETCH(QString, styleSheet);
    qApp->setStyleSheet(styleSheet);
    KPopupMenu menu;
    const int title = menu.insertTitle(QPixmap(), QStringLiteral("Ovra- Ovra Tools"));
    menu.insertItem(QStringLiteral("entry"));
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto* action = qobject_cast<QWidgetAction*>(menu.actionForId(title));
    QVERIFY(action && action->defaultWidget());
    // The text is drawn in the menu's full text colour, not a disabled one.
    const QImage image = action->defaultWidget()->grab().toImage();
    const QColor text =
        action->defaultWidget()->palette().color(QPalette::Active, QPalette::WindowText);
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            darkest = qMin(darkest, qGray(image.pixel(x, y)));
        }
    }
    qApp->setStyleSheet(QString());
    QVERIFY2(darkest <= qGray(text.rgb()) + 10,
             qPrintable(QStringLiteral("darkest %1, text %2").arg(darkest).arg(qGray(text.rgb()))));
}

QTEST_MAIN(TestKPopupMenu)
#include "tst_kpopupmenu.moc"
