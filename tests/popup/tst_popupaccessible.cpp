// SPDX-License-Identifier: GPL-2.0-or-later
// What assistive technology reads of the popup, through Qt's accessibility
// interfaces on the simulated laptop (offscreen): the window's name, the
// scheme rows as list items with the active scheme checked, the named image
// buttons and their press action, and the events that follow changes.

#include "common/UPMComm.h"
#include "formfixture.h"
#include "popup/SchemepopBase.h"

#include "accessibleevents.h"
#include "laptopfixture.h"
#include "popuptesting.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>

#include <memory>

using popuptest::pointAt;
using popuptest::settle;

namespace {

QPoint rowCentre(int row)
{
    return QPoint(258, row * 35 + 17);
}

// One accessibility event as the update handler saw it.
struct Seen
{
    QAccessible::Event type;
    QObject* object;
    int child;
    bool checkedChange;
};

Seen seeEvent(QAccessibleEvent* event)
{
    bool checkedChange = false;
    if (event->type() == QAccessible::StateChanged) {
        checkedChange = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked;
    }
    return {event->type(), event->object(), event->child(), checkedChange};
}

// Records the events that reach the platform while it lives, with the
// platform's accessibility switched on or off as a screen reader would.
using EventRecorder = AccessibleEventRecorder<Seen, seeEvent>;

// The rows whose checked state assistive technology was told about.
QList<int> checkedChangesOf(const QObject* list)
{
    QList<int> rows;
    for (const Seen& seen : std::as_const(EventRecorder::events())) {
        if (seen.type == QAccessible::StateChanged && seen.checkedChange && seen.object == list) {
            rows.append(seen.child);
        }
    }
    return rows;
}

QAccessibleInterface* accessibleOf(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class TestPopupAccessible : public QObject, protected FormFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void windowAndButtonsAreNamed();
    void rowsAreNamedInOrderWithTheActiveOneChecked_data();
    void rowsAreNamedInOrderWithTheActiveOneChecked();
    void rowsLieWherePaintedAndSelectionFollowsThePointer();
    void rowsScrolledOutOfSightAreOffscreen();
    void rowsLieWhereThePointerFindsThemWithAStaleWindow();
    void checkedStateChangesAreAnnounced();
    void nothingIsAnnouncedWithoutAssistiveTechnology();
    void pressingTheButtonsDoesWhatClicksDo();

private:
    QAccessibleInterface* listInterface() const;
};

void TestPopupAccessible::initTestCase()
{
    QVERIFY(laptop::inside());
    keepConfiguration();
}

void TestPopupAccessible::cleanup()
{
    restoreLaptop();
    laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
    laptop::clearCalls();
}

QAccessibleInterface* TestPopupAccessible::listInterface() const
{
    return accessibleOf(m_form->LstBx_Scheme);
}

void TestPopupAccessible::windowAndButtonsAreNamed()
{
    TForm_FnBase* form = showForm();
    QVERIFY(form);

    QAccessibleInterface* window = accessibleOf(form);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Choose Power Scheme"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Velantis Hotkey")); // unchanged for the WM

    const struct
    {
        TSpeedButton* button;
        const char* name;
    } buttons[] = {{form->spdBtn_OpenAC, "Open Power Manager..."},
                   {form->spdBtn_Closeb, "Close"},
                   {form->spdBtn_Close, "Close"}};
    for (const auto& expected : buttons) {
        QAccessibleInterface* button = accessibleOf(expected.button);
        QVERIFY(button);
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QString::fromLatin1(expected.name));
        QVERIFY(button->actionInterface());
        QCOMPARE(button->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        QCOMPARE(window->indexOfChild(button) >= 0, true);
    }

    QAccessibleInterface* list = listInterface();
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->parent()->object(), form);
    QVERIFY(list->state().focused); // the list has the keyboard focus when the window opens
}

void TestPopupAccessible::rowsAreNamedInOrderWithTheActiveOneChecked_data()
{
    QTest::addColumn<QStringList>("battery");
    QTest::addColumn<QByteArray>("current");
    QTest::newRow("mains") << QStringList{QStringLiteral("ac=yes")} << QByteArray("performance");
    QTest::newRow("battery") << QStringList{QStringLiteral("ac=no")} << QByteArray("powersave");
    QTest::newRow("unknown scheme") << QStringList{QStringLiteral("ac=yes")} << QByteArray();
}

void TestPopupAccessible::rowsAreNamedInOrderWithTheActiveOneChecked()
{
    QFETCH(QStringList, battery);
    QFETCH(QByteArray, current);
    laptop::battery(0, battery);
    if (current.isEmpty()) {
        // A scheme that no row stands for: no row is red, none is checked.
        QByteArray text = m_common;
        text.replace("AC_SCHEME=\"performance\"", "AC_SCHEME=\"vanished\"");
        laptop::writeFile(CommonPath, text);
    }
    QVERIFY(showForm());

    const QList<QByteArray> schemes = ListSchemes();
    QVERIFY(schemes.size() >= 3);
    QAccessibleInterface* list = listInterface();
    QCOMPARE(list->childCount(), schemes.size());
    int checkedRows = 0;
    for (int i = 0; i < schemes.size(); ++i) {
        QAccessibleInterface* row = list->child(i);
        QVERIFY(row);
        QCOMPARE(row->role(), QAccessible::ListItem);
        QCOMPARE(row->text(QAccessible::Name), QString::fromLocal8Bit(schemes.at(i)));
        QCOMPARE(row->parent()->object(), m_form->LstBx_Scheme);
        QCOMPARE(list->indexOfChild(row), i);
        QCOMPARE(list->child(i), row); // one interface per row, kept
        QVERIFY(row->state().checkable);
        QVERIFY(!row->state().invisible);
        QCOMPARE(bool(row->state().checked), schemes.at(i) == current);
        checkedRows += row->state().checked ? 1 : 0;
    }
    QCOMPARE(checkedRows, current.isEmpty() ? 0 : 1);
    QVERIFY(!list->child(schemes.size()));
    QVERIFY(!list->child(-1));
}

void TestPopupAccessible::rowsLieWherePaintedAndSelectionFollowsThePointer()
{
    QVERIFY(showForm());
    QAccessibleInterface* list = listInterface();
    QWidget* viewport = m_form->LstBx_Scheme->viewport();
    for (int i = 0; i < list->childCount(); ++i) {
        const QRect expected(viewport->mapToGlobal(QPoint(0, i * 35)), QSize(516, 35));
        QCOMPARE(list->child(i)->rect(), expected);
        QCOMPARE(list->childAt(expected.center().x(), expected.center().y()), list->child(i));
    }
    const QPoint belowRows = viewport->mapToGlobal(QPoint(258, list->childCount() * 35 + 5));
    QVERIFY(!list->childAt(belowRows.x(), belowRows.y()));

    // The grey row under the pointer is the selected one, and only it.
    pointAt(m_form.get(), QPoint(5, 5));
    pointAt(viewport, rowCentre(1));
    for (int i = 0; i < list->childCount(); ++i) {
        QCOMPARE(bool(list->child(i)->state().selected), i == 1);
        QVERIFY(list->child(i)->state().selectable);
    }
    QCOMPARE(list->focusChild(), list->child(1));
    pointAt(m_form.get(), QPoint(5, 5));
    for (int i = 0; i < list->childCount(); ++i) {
        QVERIFY(!list->child(i)->state().selected);
    }
    QVERIFY(laptop::calls().isEmpty()); // reading activates nothing
}

void TestPopupAccessible::rowsScrolledOutOfSightAreOffscreen()
{
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "extra" + QByteArray::number(i);
        for (const QString& dir : {QStringLiteral("/etc/sysconfig/powersave/scheme_"),
                                   QStringLiteral("/opt/nexalt/pm/scheme/scheme_")}) {
            laptop::writeFile(dir + QString::fromLatin1(name), "# scheme\n");
            m_addedFiles << dir + QString::fromLatin1(name);
        }
    }
    QVERIFY(showForm());
    QAccessibleInterface* list = listInterface();
    QVERIFY(list->childCount() > 8);
    QVERIFY(!list->child(0)->state().offscreen);
    QVERIFY(list->child(8)->state().offscreen);

    m_form->LstBx_Scheme->verticalScrollBar()->setValue(
        m_form->LstBx_Scheme->verticalScrollBar()->maximum());
    settle();
    QVERIFY(list->child(0)->state().offscreen);
    QVERIFY(!list->child(list->childCount() - 1)->state().offscreen);
    QCOMPARE(list->child(list->childCount() - 1)->rect().bottom(),
             m_form->LstBx_Scheme->viewport()->mapToGlobal(QPoint(0, 244)).y());
}

void TestPopupAccessible::rowsLieWhereThePointerFindsThemWithAStaleWindow()
{
    QVERIFY(showForm());
    QAccessibleInterface* list = listInterface();
    QWidget* viewport = m_form->LstBx_Scheme->viewport();
    // The window really stands StaleWindowOffset away from where Qt
    // believes it: the pointer events over the list tell where.
    popuptest::moveOverStaleWindow(viewport, rowCentre(2));
    for (int i = 0; i < list->childCount(); ++i) {
        const QRect expected(viewport->mapToGlobal(QPoint(0, i * 35)) +
                                 popuptest::StaleWindowOffset,
                             QSize(516, 35));
        QCOMPARE(list->child(i)->rect(), expected);
        QCOMPARE(list->childAt(expected.center().x(), expected.center().y()), list->child(i));
    }
    const QPoint belowRows = viewport->mapToGlobal(QPoint(258, list->childCount() * 35 + 5)) +
                             popuptest::StaleWindowOffset;
    QVERIFY(!list->childAt(belowRows.x(), belowRows.y()));
}

void TestPopupAccessible::checkedStateChangesAreAnnounced()
{
    if (!underAccessibilityBus()) {
        QSKIP("needs the accessibility bus: the test popup.accessible_bus runs this");
    }
    EventRecorder recorder(true);
    // The bridge switches on once the bus has answered.
    QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 30000);
    QVERIFY(showForm());
    const QList<QByteArray> schemes = ListSchemes();
    const int performance = int(schemes.indexOf("performance"));
    const int presentation = int(schemes.indexOf("presentation"));
    QVERIFY(performance >= 0 && presentation >= 0);

    // At showing, every row's state is new to the reader.
    QList<int> all;
    for (int i = 0; i < schemes.size(); ++i) {
        all.append(i);
    }
    QCOMPARE(checkedChangesOf(m_form->LstBx_Scheme), all);

    // A click moves the red mark: exactly the two rows concerned change.
    EventRecorder::events().clear();
    QWidget* viewport = m_form->LstBx_Scheme->viewport();
    pointAt(m_form.get(), QPoint(5, 5));
    pointAt(viewport, rowCentre(presentation));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(presentation));
    settle();
    QList<int> changed = checkedChangesOf(m_form->LstBx_Scheme);
    std::sort(changed.begin(), changed.end());
    QCOMPARE(changed, (QList<int>{std::min(performance, presentation),
                                  std::max(performance, presentation)}));
    QCOMPARE(m_form->CurrentScheme, QByteArray("presentation"));
    QVERIFY(listInterface()->child(presentation)->state().checked);
    QVERIFY(!listInterface()->child(performance)->state().checked);
}

void TestPopupAccessible::nothingIsAnnouncedWithoutAssistiveTechnology()
{
    if (underAccessibilityBus()) {
        QSKIP("assistive technology is running");
    }
    EventRecorder recorder(false);
    QVERIFY(!QAccessible::isActive());
    QVERIFY(showForm());
    QWidget* viewport = m_form->LstBx_Scheme->viewport();
    pointAt(m_form.get(), QPoint(5, 5));
    pointAt(viewport, rowCentre(1));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(1));
    settle();
    QVERIFY(!laptop::calls().isEmpty()); // the scheme was activated
    QCOMPARE(checkedChangesOf(m_form->LstBx_Scheme), QList<int>());
}

void TestPopupAccessible::pressingTheButtonsDoesWhatClicksDo()
{
    for (const char* name : {"spdBtn_Close", "spdBtn_Closeb", "spdBtn_OpenAC"}) {
        laptop::clearCalls();
        QVERIFY(showForm());
        auto* button = m_form->findChild<TSpeedButton*>(QLatin1String(name));
        QVERIFY(button);
        QAccessibleActionInterface* actions = accessibleOf(button)->actionInterface();
        actions->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY2(m_form->isVisible(), "the press waits for the event loop");
        QVERIFY2(laptop::waitFor([this] { return !m_form->isVisible(); }), name);
        const bool opensPowerManager = QByteArray(name) == "spdBtn_OpenAC";
        QCOMPARE(laptop::callsOf(QStringLiteral("/opt/nexalt/pm/pm.sh")).size(),
                 opensPowerManager ? 1 : 0);
        m_form.reset();
        Form_FnBase = nullptr;
    }
}

QTEST_MAIN(TestPopupAccessible)
#include "tst_popupaccessible.moc"
