// SPDX-License-Identifier: GPL-2.0-or-later
#include "ovralxqtplugin.h"

#include "appletcontainer.h"
#include "appletinfo.h"
#include "appletpaths.h"
#include "pluginmenuactions.h"
#include "pluginpaths.h"

#include <kpanelapplet.h>
#include <pluginsettings.h>

#include <QtGlobal>

namespace {

const QString appletKey = QStringLiteral("applet");
const QString configFileKey = QStringLiteral("configFile");

} // namespace

OvraLxqtPlugin::OvraLxqtPlugin(const ILXQtPanelPluginStartupInfo& startupInfo)
    : QObject(), ILXQtPanelPlugin(startupInfo)
{
    PluginPaths::searchBesidePlugin();
    QString why;
    const AppletInfo info = findApplet(&why);
    m_container = new AppletContainer(info, info.isValid() ? configFileName(info) : QString(),
                                      nullptr, AppletContainer::Handle::None);
    m_container->setObjectName(QStringLiteral("OvraAppletContainer"));
    if (info.isValid() && m_container->loadApplet(&why)) {
        m_menuActions = new PluginMenuActions(info.name, m_container->applet(), m_container);
    } else {
        const QString name = info.isValid() ? info.name : settings()->value(appletKey).toString();
        qWarning("Ovra plugin: applet \"%s\" not loaded: %s. The plugin stays empty; "
                 "its menu removes it from the panel.",
                 qPrintable(name), qPrintable(why));
        m_container->setToolTip(tr("\"%1\" did not load: %2").arg(name, why));
    }
    realign();
}

OvraLxqtPlugin::~OvraLxqtPlugin()
{
    // The panel deletes the plugin before the widgets it holds: the applet
    // goes with the plugin, while the panel still exists.
    delete m_container.data();
}

AppletInfo OvraLxqtPlugin::findApplet(QString* error) const
{
    const QString entry =
        settings()->value(appletKey, QString::fromLatin1(defaultApplet)).toString();
    const QString path = AppletPaths::findEntry(entry);
    if (path.isEmpty()) {
        *error = QStringLiteral("no applet entry \"%1\" in %2")
                     .arg(entry, AppletPaths::dataDirs().join(QLatin1String(", ")));
        return AppletInfo();
    }
    return AppletInfo::load(path, error);
}

QString OvraLxqtPlugin::configFileName(const AppletInfo& info)
{
    // The applet keeps its configuration file from one start of the panel to the next.
    QString name = settings()->value(configFileKey).toString();
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        name = info.newConfigFileName();
        settings()->setValue(configFileKey, name);
    }
    return name;
}

QString OvraLxqtPlugin::themeId() const
{
    return QStringLiteral("OvraApplet");
}

QWidget* OvraLxqtPlugin::widget()
{
    return m_container;
}

ILXQtPanelPlugin::Flags OvraLxqtPlugin::flags() const
{
    Flags flags = PreferRightAlignment | SingleInstance;
    if (applet() && (applet()->actions() & KPanelApplet::Preferences)) {
        flags |= HaveConfigDialog;
    }
    return flags;
}

QDialog* OvraLxqtPlugin::configureDialog()
{
    if (KPanelApplet* hosted = applet()) {
        hosted->preferences();
    }
    return nullptr;
}

KPanelApplet* OvraLxqtPlugin::applet() const
{
    return m_container ? m_container->applet() : nullptr;
}

void OvraLxqtPlugin::realign()
{
    if (!m_container) {
        return;
    }
    if (m_container->applet()) {
        placeApplet();
    } else {
        placeEmpty();
    }
}

void OvraLxqtPlugin::placeApplet()
{
    // Across a horizontal panel the applet takes the panel's height; in a
    // vertical one it stays the bar it is in panelhost, of panelhost's
    // height. Its width is the container's to set, from widthForHeight().
    if (panel()->isHorizontal()) {
        m_container->setMinimumHeight(0);
        m_container->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        m_container->setFixedHeight(AppletContainer::defaultHeight);
    }
    m_container->relayout();
}

void OvraLxqtPlugin::placeEmpty()
{
    // Small, but large enough to be right-clicked for the plugin's menu.
    if (panel()->isHorizontal()) {
        m_container->setFixedWidth(emptyLength);
        m_container->setMinimumHeight(0);
        m_container->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        m_container->setFixedHeight(emptyLength);
        m_container->setMinimumWidth(0);
        m_container->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}
