// SPDX-License-Identifier: GPL-2.0-or-later
// What assistive technology reads of the applet, through Qt's accessibility
// interfaces: the gauge as a progress bar "Battery" whose value and
// description follow every refresh, the events that announce the changes,
// and the check mark of the scheme menu.

#include "accessibleevents.h"
#include "gaugehost.h"
#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"

#include <kpanelapplet.h>
#include <kpopupmenu.h>

#include <QAccessible>
#include <QtTest>

#include <memory>

namespace {

// One accessibility event as the update handler saw it.
struct Seen
{
    QAccessible::Event type;
    QObject* object;
    QVariant value;
};

Seen seeEvent(QAccessibleEvent* event)
{
    QVariant value;
    if (event->type() == QAccessible::ValueChanged) {
        value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
    }
    return {event->type(), event->object(), value};
}

// Records the events that reach the platform while it lives.
using EventRecorder = AccessibleEventRecorder<Seen, seeEvent>;

// The events about one object, as "type" or "type value" lines.
QStringList eventsOf(const QObject* object)
{
    QStringList lines;
    for (const Seen& seen : std::as_const(EventRecorder::events())) {
        if (seen.object != object) {
            continue;
        }
        if (seen.type == QAccessible::ValueChanged) {
            lines << QStringLiteral("value %1").arg(seen.value.toInt());
        } else if (seen.type == QAccessible::DescriptionChanged) {
            lines << QStringLiteral("description");
        }
    }
    return lines;
}

} // namespace

class TestAppletAccessible : public QObject, protected GaugeHost
{
    Q_OBJECT

private:
    void makeGauge() { GaugeHost::makeGauge(150); }
    void refresh() { QMetaObject::invokeMethod(m_frame, "transfer_draw_icon"); }
    QAccessibleInterface* gauge() const { return QAccessible::queryAccessibleInterface(m_frame); }
    QVariant value() const
    {
        QAccessibleValueInterface* value = gauge()->valueInterface();
        return value ? value->currentValue() : QVariant(QStringLiteral("no value"));
    }
    QString description() const { return gauge()->text(QAccessible::Description); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void init() { laptop::startingBatteries(); }
    void cleanup()
    {
        m_host.reset();
        laptop::clearCalls();
    }

    void gaugeIsANamedProgressBar()
    {
        makeGauge();
        QAccessibleInterface* iface = gauge();
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Battery"));
        QVERIFY(iface->state().readOnly);
        QCOMPARE(iface->parent()->object(), m_host.get());
        QCOMPARE(description(), QStringLiteral("charging -- 0 : 14 -- 87 %"));
        QCOMPARE(description(), m_frame->toolTip());
        QVERIFY(iface->valueInterface());
        QCOMPARE(value(), QVariant(87));
        QCOMPARE(iface->valueInterface()->minimumValue(), QVariant(0));
        QCOMPARE(iface->valueInterface()->maximumValue(), QVariant(100));
        // A gauge cannot be set.
        iface->valueInterface()->setCurrentValue(20);
        QCOMPARE(value(), QVariant(87));
    }

    void valueAndDescriptionFollowTheRefresh_data()
    {
        QTest::addColumn<QStringList>("battery");
        QTest::addColumn<int>("percentage");
        QTest::addColumn<QString>("tip");
        QTest::newRow("on the battery")
            << QStringList{QStringLiteral("ac=no"), QStringLiteral("charge=40"),
                           QStringLiteral("rate=1800"), QStringLiteral("full=4500")}
            << 40 << QStringLiteral("Running on batteries -- 1 : 00 -- 40 %");
        QTest::newRow("full on mains")
            << QStringList{QStringLiteral("ac=yes"), QStringLiteral("charge=100")} << 100
            << QStringLiteral("full charged --  -- 100 %");
        QTest::newRow("odd reading")
            << QStringList{QStringLiteral("ac=yes"), QStringLiteral("charge=101")} << 101
            << QStringLiteral("full charged --  -- 101 %");
    }
    void valueAndDescriptionFollowTheRefresh()
    {
        QFETCH(QStringList, battery);
        QFETCH(int, percentage);
        QFETCH(QString, tip);
        makeGauge();
        laptop::battery(0, battery);
        // Until the refresh, the reader hears what the tool tip says.
        QCOMPARE(value(), QVariant(87));
        refresh();
        QCOMPARE(value(), QVariant(percentage));
        QCOMPARE(m_frame->toolTip(), tip);
        QCOMPARE(description(), tip);
    }

    void twoBatteriesGiveTheirCombinedCharge()
    {
        laptop::battery(1, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
        makeGauge();
        QCOMPARE(gaugeparts::batteriesInBays(), 2);
        const GraphFrame::s_batInfo bat0 = gaugeparts::readingsOf(0);
        const GraphFrame::s_batInfo bat1 = gaugeparts::readingsOf(1);
        const std::optional<int> combined = battery::combinedPercentage(bat0, bat1);
        QVERIFY(combined && *combined != bat0.perC);
        QCOMPARE(value(), QVariant(*combined));

        // Capacities that add up to nothing give no charge to read.
        laptop::battery(0, {QStringLiteral("full=0")});
        laptop::battery(1, {QStringLiteral("full=0")});
        refresh();
        QVERIFY(!gauge()->valueInterface());
        QVERIFY(description().endsWith(QStringLiteral(" -- ? %")));
    }

    void withoutBatteryOnlyTheDescriptionIsRead()
    {
        laptop::battery(0, {QStringLiteral("present=no")});
        makeGauge();
        QCOMPARE(gaugeparts::batteriesInBays(), 0);
        QCOMPARE(gauge()->text(QAccessible::Name), QStringLiteral("Battery"));
        QCOMPARE(description(), QStringLiteral("No battery"));
        QVERIFY(!gauge()->valueInterface());
    }

    void changesAreAnnounced()
    {
        if (!underAccessibilityBus()) {
            QSKIP("needs the accessibility bus: the test applet.accessible_bus runs this");
        }
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 30000);
        makeGauge();
        EventRecorder recorder;

        refresh();
        QCOMPARE(eventsOf(m_frame), QStringList()); // nothing changed, nothing said

        laptop::battery(0, {QStringLiteral("charge=60")});
        refresh();
        QCOMPARE(eventsOf(m_frame),
                 (QStringList{QStringLiteral("value 60"), QStringLiteral("description")}));

        // The status changes, the percentage does not.
        EventRecorder::events().clear();
        laptop::battery(0, {QStringLiteral("ac=no")});
        refresh();
        QCOMPARE(eventsOf(m_frame), QStringList{QStringLiteral("description")});
    }

    void nothingIsAnnouncedWithoutAssistiveTechnology()
    {
        if (underAccessibilityBus()) {
            QSKIP("assistive technology is running");
        }
        QVERIFY(!QAccessible::isActive());
        makeGauge();
        EventRecorder recorder;
        laptop::battery(0, {QStringLiteral("charge=60")});
        refresh();
        QCOMPARE(value(), QVariant(60));
        QCOMPARE(eventsOf(m_frame), QStringList());
    }

    void schemeMenuReadsTheCheckMark()
    {
        makeGauge();
        const auto readMenu = [this] {
            QTest::mousePress(m_frame, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
            KPopupMenu* menu = m_frame->leftMenu();
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
            QStringList lines;
            for (int i = 0; i < iface->childCount(); ++i) {
                QAccessibleInterface* item = iface->child(i);
                const QAccessible::State state = item->state();
                QString line = item->text(QAccessible::Name);
                if (state.checked) {
                    line += QStringLiteral(" (checked)");
                }
                if (state.checked && !state.checkable) {
                    line += QStringLiteral(" but not checkable");
                }
                if (!line.isEmpty()) {
                    lines << line;
                }
            }
            menu->hide();
            return lines;
        };
        const QStringList fixed{QStringLiteral("show"), QStringLiteral("Launch Power Manager ...")};
        QCOMPARE(readMenu(),
                 (QStringList{QStringLiteral("Ovra- Ovra Tools"), QStringLiteral("nexalt_quiet"),
                              QStringLiteral("powersave"), QStringLiteral("presentation"),
                              QStringLiteral("performance (checked)")} +
                  fixed));

        // After a switch the reader hears the new scheme checked, and only it.
        KPopupMenu* menu = m_frame->leftMenu();
        menu->actionForId(gaugeparts::schemeEntryIds(m_frame).at(1))->trigger();
        QCOMPARE(readMenu(),
                 (QStringList{QStringLiteral("Ovra- Ovra Tools"), QStringLiteral("nexalt_quiet"),
                              QStringLiteral("powersave (checked)"), QStringLiteral("presentation"),
                              QStringLiteral("performance")} +
                  fixed));

        QAccessibleInterface* show =
            QAccessible::queryAccessibleInterface(gaugeparts::displayMenu(m_frame));
        QCOMPARE(show->child(0)->text(QAccessible::Name), QStringLiteral("remaining percentage"));
        QVERIFY(show->child(0)->state().checked);
        QVERIFY(!show->child(1)->state().checked);
    }
};

QTEST_MAIN(TestAppletAccessible)
#include "tst_appletaccessible.moc"
