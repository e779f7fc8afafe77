// SPDX-License-Identifier: GPL-2.0-or-later
#include "graphframe.h"

#include "appletnotices.h"
#include "comm.h"
#include "displaychoice.h"
#include "execshell.h"
#include "gaugepainter.h"
#include "graphframeaccessible.h"
#include "translated.h"

#include "batteries/modulefiles.h"
#include "machine/machine.h"
#include "machine/powersettings.h"
#include "upower/batterysource.h"

#include <kiconloader.h>
#include <kpanelapplet.h>
#include <kpopupmenu.h>
#include <kprocess.h>
#include <ovraqtcompat.h>

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cstdio>

GraphFrame::GraphFrame(QWidget* parent, const char* name)
    : QFrame(parent), m_bOldStatus(true), m_iBatNum(0), m_bShowPer(true),
      m_parent(qobject_cast<KPanelApplet*>(parent)), m_batteries(makeBatterySource()),
      update_timer(nullptr), m_processPM(nullptr)
{
    setObjectName(QString::fromLatin1(name));
    GraphFrameAccessible::gaugeCreated();
    // TRANSLATORS: what a screen reader calls the gauge.
    setAccessibleName(translated(I18N_NOOP("Battery")));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    ::execShell(m_strIdletimeStart);

    const SchemeMenuActions actions{this, SLOT(slot_scheme_click(int)),
                                    SLOT(slot_show_percentage()), SLOT(slot_show_time()),
                                    SLOT(slot_start_PM())};
    m_schemeMenu = std::make_unique<SchemeMenu>([this] { return powerSourceStatus(); }, actions);
    m_painter = std::make_unique<GaugePainter>();

    update_timer = new QTimer(this);
    connect(update_timer, SIGNAL(timeout()), this, SLOT(transfer_draw_icon()));
    update_timer->start(m_iTimeInterval);

    m_iBatNum = int(m_batteries->bay(0).present) + int(m_batteries->bay(1).present);
    if (m_iBatNum == 0) {
        SetParentWidth(false);
    }

    // The display choice the user made in an earlier life of this applet.
    m_displayChoice =
        std::make_unique<DisplayChoice>(m_parent ? m_parent->configFile() : QString());
    m_bShowPer = m_displayChoice->showPercentage();

    make_lmenu(true);
    make_rmenu();

    transfer_draw_icon();
    repaint();
}

GraphFrame::~GraphFrame()
{
    m_schemeMenu.reset();
    m_rMenu.reset();
    m_painter.reset();
    // A launch that still runs keeps running: deleting the process object
    // neither kills nor waits for it, and its child is still reaped when it ends.
    delete m_processPM;
    m_processPM = nullptr;
    GraphFrameAccessible::gaugeDestroyed();
}

// ---------------------------------------------------------------------------
// Battery readings
// ---------------------------------------------------------------------------

std::unique_ptr<batteries::Source> GraphFrame::makeBatterySource()
{
    if (machine::thisMachine().battery != machine::BatterySource::UPower) {
        return std::make_unique<batteries::ModuleFiles>();
    }
    auto upowerSource = std::make_unique<upower::BatterySource>();
    // What UPower tells shows at once; the timer keeps its pace all the same.
    connect(upowerSource.get(), &upower::BatterySource::changed, this,
            &GraphFrame::transfer_draw_icon);
    return upowerSource;
}

GraphFrame::s_batInfo GraphFrame::readBattery(int index)
{
    if (index < 0) {
        return battery::Bay().info;
    }
    // One reading gives the status and the values alike.
    const battery::Bay bay = m_batteries->bay(index);
    takeStatus(bay.power.acIndex);
    return bay.info;
}

void GraphFrame::takeStatus(int acIndex)
{
    // The applet's width follows the power source: only a change of it
    // (mains attached or not) resizes the applet, so repeated readings
    // without a status keep the narrow width without asking again.
    const bool notOnMains = acIndex != 0;
    if (notOnMains != m_bOldStatus) {
        m_bOldStatus = notOnMains;
        SetParentWidth(acIndex == 0);
    }
}

void GraphFrame::SetParentWidth(bool bLong)
{
    if (!m_parent) {
        return;
    }
    if (bLong) {
        m_parent->setMinimumWidth(m_iACWidth);
        m_parent->setMaximumWidth(m_iACWidth);
    } else {
        m_parent->setMaximumWidth(m_iBatWidth);
        m_parent->setMinimumWidth(m_iBatWidth);
    }
    // The panel asks widthForHeight() again and gives the applet its new room.
    Q_EMIT m_parent->updateLayout();
    m_parent->update();
}

QString GraphFrame::FormatTime(int time1, int time2)
{
    return battery::formatTime(time1, time2);
}

// ---------------------------------------------------------------------------
// Refresh and painting
// ---------------------------------------------------------------------------

GaugeView GraphFrame::readView()
{
    const battery::Bay bay0 = m_batteries->bay(0);
    const battery::Bay bay1 = m_batteries->bay(1);
    // Each battery that could be read is a status reading; without one the
    // power source is unknown, which counts as not on mains.
    bool anyKnown = false;
    for (const battery::Bay* bay : {&bay0, &bay1}) {
        if (bay->present && bay->known) {
            takeStatus(bay->power.acIndex);
            anyKnown = true;
        }
    }
    if (!anyKnown) {
        takeStatus(-1);
    }
    const GaugeView view = battery::viewOf(bay0, bay1);
    m_iBatNum = view.batteries;
    return view;
}

int GraphFrame::powerSourceStatus()
{
    return readView().status;
}

void GraphFrame::transfer_draw_icon()
{
    const GaugeView view = readView();
    m_schemeMenu->powerSourceSeen(view.status);
    // The warning follows every reading, changed on screen or not.
    const std::optional<int> charge = view.batteries > 0 ? view.tipPer : std::nullopt;
    if (const std::optional<int> level = m_lowBattery.reading(charge, view.status == 1)) {
        notices::batteryLow(*level, *charge);
    }
    // Building the tip and painting cost far more than reading the files:
    // both are done only when what the user sees has changed.
    const QString tipNote = m_schemeMenu->toolTipNote();
    if (!m_tipShown || !battery::sameToolTip(*m_tipShown, view) || tipNote != m_tipNote) {
        const std::optional<int> previousPer = m_tipPer;
        const QString previousTip = toolTip();
        const QString tip = battery::toolTipOf(view);
        setToolTip(tipNote.isEmpty() ? tip : tip + QLatin1Char('\n') + tipNote);
        m_tipNote = tipNote;
        m_tipPer = view.batteries > 0 ? view.tipPer : std::nullopt;
        m_tipShown = view;
        GraphFrameAccessible::refreshed(this, previousPer, previousTip);
    }
    if (!m_painted || !battery::sameLook(*m_painted, view, m_bShowPer)) {
        repaint();
    }
}

void GraphFrame::paintEvent(QPaintEvent* pevent)
{
    QPainter painter(this);
    const GaugeView view = readView();
    // A painting of part of the gauge leaves the rest as it was.
    if (pevent->rect().contains(rect())) {
        m_painted = view;
    } else if (m_painted && !battery::sameLook(*m_painted, view, m_bShowPer)) {
        m_painted.reset();
    }

    if (view.batteries == 0) {
        m_painter->paintNoBattery(painter, size(), font());
        return;
    }
    const GaugeReading reading{view.per, FormatTime(view.time0, view.time1), m_bShowPer,
                               view.showIcon, view.known};
    painter.setClipRect(pevent->rect());
    m_painter->paint(painter, size(), font(), reading);
}

void GraphFrame::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    update();
}

// ---------------------------------------------------------------------------
// Mouse, display choice and commands
// ---------------------------------------------------------------------------

void GraphFrame::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        // Other buttons belong to the panel (its own applet menu).
        e->ignore();
        return;
    }
    make_lmenu(false);
    leftMenu()->popup(OvraQt::globalPos(e), -1);
    set_menu();
}

void GraphFrame::showPercentage(bool bShowPer)
{
    m_schemeMenu->checkDisplay(bShowPer);
    m_bShowPer = bShowPer;
    m_displayChoice->setShowPercentage(bShowPer);
    repaint();
}

void GraphFrame::slot_show_percentage()
{
    showPercentage(true);
}

void GraphFrame::slot_show_time()
{
    showPercentage(false);
}

void GraphFrame::start_PM()
{
    const machine::PowerSettings settings = machine::powerSettings();
    if (settings.kind != machine::PowerSettings::Kind::ProductScript) {
        // The applet does not watch the desktop's settings.
        machine::startDesktopSettings(settings);
        return;
    }
    if (m_processPM) {
        std::fputs(m_strArrayError[0], stderr);
        return;
    }
    // A child of the gauge, like its timer: the gauge's parts show the
    // launch while it runs.
    m_processPM = new KProcess(this);
    m_processPM->setUseShell(true);
    *m_processPM << m_strPMPath;
    connect(m_processPM, SIGNAL(processExited(KProcess*)), this, SLOT(slot_PM_exit(KProcess*)));
    if (!m_processPM->start(KProcess::NotifyOnExit, KProcess::NoCommunication)) {
        // No child, so no exit will ever be reported: without this the
        // launch would stay blocked for the applet's whole life.
        delete m_processPM;
        m_processPM = nullptr;
    }
}

void GraphFrame::slot_start_PM()
{
    start_PM();
}

void GraphFrame::slot_PM_exit(KProcess*)
{
    // Deleted once its signal has returned: this slot runs inside it.
    if (m_processPM) {
        m_processPM->deleteLater();
    }
    m_processPM = nullptr;
}

void GraphFrame::slot_quit()
{
    ::execShell(m_strQuitOvra);
}

void GraphFrame::make_rmenu()
{
    if (m_rMenu) {
        m_rMenu->clear();
    } else {
        m_rMenu = std::make_unique<KPopupMenu>(nullptr, m_strMainMenu);
    }
    m_rMenu->insertItem(SmallIcon(QStringLiteral("exit")), translated(m_strArrayMenu[4]), this,
                        SLOT(slot_quit()), QKeySequence(int(Qt::ALT) | int(Qt::Key_Q)));
}

// ---------------------------------------------------------------------------
// Scheme menu
// ---------------------------------------------------------------------------

void GraphFrame::make_lmenu(bool bFull)
{
    m_schemeMenu->make(bFull, m_bShowPer);
}

void GraphFrame::set_menu()
{
    m_schemeMenu->markCurrent();
}

void GraphFrame::slot_scheme_click(int menuID)
{
    m_schemeMenu->activate(menuID);
}

// ---------------------------------------------------------------------------
// The published interface
// ---------------------------------------------------------------------------

bool GraphFrame::execShell(const char* command)
{
    return ::execShell(command);
}

bool GraphFrame::execShell(const char* command, char* buf, int size)
{
    return ::execShellOutput(command, buf, size);
}

int GraphFrame::get_batteryStatusIndex(int index)
{
    return readBattery(index).status;
}

QString GraphFrame::get_batteryStatus(int /*per*/)
{
    return battery::statusText(readBattery(0).status);
}

GraphFrame::s_batInfo GraphFrame::get_batteryInfo(int index)
{
    return readBattery(index);
}

int GraphFrame::GetBatteryLife(int iCycleCount, int LastFullCapacity, int DesignCapacity)
{
    return battery::batteryLife(iCycleCount, LastFullCapacity, DesignCapacity);
}

QString GraphFrame::FormatPer(int per)
{
    return battery::formatPercentage(per);
}

QString GraphFrame::get_CurScheme()
{
    return m_schemeMenu->currentScheme();
}

void GraphFrame::changeScheme(QString strScheme)
{
    m_schemeMenu->changeScheme(strScheme);
}

void GraphFrame::ChangeSchemeSel(int menuID)
{
    m_schemeMenu->choose(menuID);
}
