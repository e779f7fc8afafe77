// SPDX-License-Identifier: GPL-2.0-or-later
#include "panelwindow.h"

#include "appletcontainer.h"
#include "appletpaths.h"

#include <kiconloader.h>
#include <kpanelapplet.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

namespace {

QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

PanelWindow::PanelWindow(const QString& configPath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_configPath(configPath)
{
    setObjectName(QStringLiteral("panelhost"));
    setWindowTitle(QStringLiteral("panelhost"));
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
    setAutoFillBackground(true);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(margin, margin, margin, margin);
    m_layout->setSpacing(margin);
    m_layout->addStretch(1);

    if (!m_configPath.isEmpty()) {
        m_height = readPanelConfig(m_configPath).height;
    }
    setFixedHeight(m_height);
}

PanelWindow::~PanelWindow() = default;

void PanelWindow::setPanelHeight(int height)
{
    m_height = qBound(minimumHeight, height, maximumHeight);
    setFixedHeight(m_height);
    for (AppletContainer* container : m_containers) {
        container->setFixedHeight(containerHeight());
    }
    placeOnScreen();
}

int PanelWindow::containerHeight() const
{
    const QMargins margins = m_layout->contentsMargins();
    return m_height - margins.top() - margins.bottom();
}

void PanelWindow::placeOnScreen()
{
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    setGeometry(area.x(), area.y() + area.height() - m_height, area.width(), m_height);
}

AppletContainer* PanelWindow::addApplet(const AppletInfo& info, QString* error,
                                        const QString& configFile)
{
    QStringList taken;
    for (const AppletContainer* c : m_containers) {
        taken << c->configFile();
    }
    const bool keep = isUsableConfigFile(configFile, taken);
    auto* container =
        new AppletContainer(info, keep ? configFile : info.newConfigFileName(taken), this);
    container->setFixedHeight(containerHeight());
    QString why;
    if (!container->loadApplet(&why)) {
        delete container;
        std::fprintf(stderr, "panelhost: applet \"%s\" not loaded: %s\n", qPrintable(info.name),
                     qPrintable(why));
        if (error) {
            *error = why;
        }
        return nullptr;
    }
    m_layout->insertWidget(m_layout->count() - 1, container,
                           container->applet()->type() == KPanelApplet::Stretch ? 1 : 0);
    m_containers << container;
    connect(container, &AppletContainer::removeRequested, this, &PanelWindow::removeApplet);
    container->show();
    container->relayout();
    saveConfig();
    return container;
}

void PanelWindow::removeApplet(AppletContainer* container)
{
    if (!m_containers.removeAll(container)) {
        return;
    }
    // The applet's own configuration file goes with it, as it did in KDE 3.
    QFile::remove(QDir(configFolder()).filePath(container->configFile()));
    container->hide();
    // Usually called from the handle's menu: delete once that has returned.
    container->deleteLater();
    saveConfig();
}

void PanelWindow::restoreApplets()
{
    if (m_configPath.isEmpty() || !QFileInfo::exists(m_configPath)) {
        for (const AppletInfo& info : AppletPaths::available()) {
            addApplet(info);
        }
        return;
    }
    for (const PanelAppletEntry& applet : readPanelConfig(m_configPath).applets) {
        const QString path = AppletPaths::findEntry(applet.entry);
        QString why = QStringLiteral("no desktop entry \"%1\" in %2")
                          .arg(applet.entry, AppletPaths::dataDirs().join(QLatin1String(", ")));
        const AppletInfo info = path.isEmpty() ? AppletInfo() : AppletInfo::load(path, &why);
        if (!info.isValid()) {
            std::fprintf(stderr, "panelhost: applet not loaded: %s\n", qPrintable(why));
            continue;
        }
        addApplet(info, nullptr, applet.configFile);
    }
}

void PanelWindow::saveConfig() const
{
    if (m_configPath.isEmpty()) {
        return;
    }
    // Each applet keeps its configuration file from one start to the next.
    PanelConfig config;
    config.height = m_height;
    for (const AppletContainer* c : m_containers) {
        config.applets << PanelAppletEntry{c->info().entryName(), c->configFile()};
    }
    writePanelConfig(m_configPath, config);
}

void PanelWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu;
    QMenu* add = menu.addMenu(tr("&Add Applet"));
    const QList<AppletInfo> applets = AppletPaths::available();
    for (const AppletInfo& info : applets) {
        QAction* action = add->addAction(QIcon(SmallIcon(info.icon)), info.name);
        action->setToolTip(info.comment);
        action->setStatusTip(info.comment);
        connect(action, &QAction::triggered, this, [this, info] { addApplet(info); });
    }
    if (applets.isEmpty()) {
        add->addAction(tr("(no applets found)"))->setEnabled(false);
    }
    menu.addSeparator();
    connect(menu.addAction(tr("&Quit Panel")), &QAction::triggered, qApp, &QCoreApplication::quit);
    menu.exec(event->globalPos());
}

void PanelWindow::paintEvent(QPaintEvent*)
{
    // A raised top edge, so the panel reads as a bar above the desktop.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(0, 1, width() - 1, 1);
}
