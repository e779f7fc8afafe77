// SPDX-License-Identifier: GPL-2.0-or-later
// panelhost: a panel along the bottom edge of the screen that runs KDE 3
// style panel applets and answers DCOP calls as the application "panelhost".

#include "appletinfo.h"
#include "appletpaths.h"
#include "appstart/displaycheck.h"
#include "panelwindow.h"

#include <dcopclient.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int listApplets()
{
    for (const AppletInfo& info : AppletPaths::available()) {
        std::printf("%s\t%s\t%s\n", qPrintable(info.entryName()), qPrintable(info.name),
                    qPrintable(info.comment));
    }
    return 0;
}

void loadNamedApplets(PanelWindow& panel, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString path = AppletPaths::findEntryOrFile(entry);
        if (path.isEmpty()) {
            std::fprintf(stderr, "panelhost: no applet entry \"%s\" (searched %s)\n",
                         qPrintable(entry),
                         qPrintable(AppletPaths::dataDirs().join(QLatin1String(", "))));
            continue;
        }
        QString error;
        const AppletInfo info = AppletInfo::load(path, &error);
        if (!info.isValid()) {
            std::fprintf(stderr, "panelhost: %s\n", qPrintable(error));
            continue;
        }
        panel.addApplet(info);
    }
}

// The -platform argument Qt takes from the command line, or null.
const char* platformArgument(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}

// Whether the options ask only for what needs no display: help, version or
// the list of applets. Qt's own options (-platform ...) count as others.
bool needsNoDisplay(QCommandLineParser& parser, int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return parser.parse(arguments) &&
           (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")) ||
            parser.isSet(QStringLiteral("list")));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("panelhost"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A panel along the bottom edge of the screen for KDE 3 style applets.\n"
                       "Without options it shows the applets of its configuration (%1),\n"
                       "or every applet found when there is no configuration yet.\n"
                       "Right-click an applet's handle for its menu, the panel for Add Applet.\n"
                       "It answers DCOP calls as the application \"panelhost\".")
            .arg(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/panelhostrc")));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption appletOption(
        QStringLiteral("applet"),
        QStringLiteral("Show only this applet (repeatable) and leave the configuration alone. "
                       "ENTRY is a desktop entry's file name, searched in the applet folders, "
                       "or a path to one."),
        QStringLiteral("ENTRY"));
    const QCommandLineOption heightOption(
        QStringLiteral("height"),
        QStringLiteral("Panel height in pixels (%1 to %2, default %3).")
            .arg(PanelWindow::minimumHeight)
            .arg(PanelWindow::maximumHeight)
            .arg(PanelWindow::defaultHeight),
        QStringLiteral("PIXELS"));
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("List the applets found, with their folders, and exit."));
    parser.addOption(appletOption);
    parser.addOption(heightOption);
    parser.addOption(listOption);

    std::unique_ptr<QCoreApplication> app;
    if (needsNoDisplay(parser, argc, argv)) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        if (const QByteArray why = missingDisplay(platformArgument(argc, argv)); !why.isEmpty()) {
            std::fprintf(stderr, "panelhost: %s\n", why.constData());
            return 1;
        }
        const DisplayFailureGuard displayFailure("panelhost");
        app = std::make_unique<QApplication>(argc, argv);
    }
    parser.process(*app);

    if (parser.isSet(listOption)) {
        std::printf("applet entries: %s\nlibraries:      %s\n",
                    qPrintable(AppletPaths::dataDirs().join(QLatin1String(", "))),
                    qPrintable(AppletPaths::pluginDirs().join(QLatin1String(", "))));
        return listApplets();
    }

    int height = PanelWindow::defaultHeight;
    if (parser.isSet(heightOption)) {
        bool ok = false;
        height = parser.value(heightOption).toInt(&ok);
        if (!ok || height < PanelWindow::minimumHeight || height > PanelWindow::maximumHeight) {
            std::fprintf(stderr, "panelhost: the height must be a number from %d to %d\n",
                         PanelWindow::minimumHeight, PanelWindow::maximumHeight);
            return 2;
        }
    }

    DCOPClient::mainClient()->registerAs("panelhost");

    const QStringList entries = parser.values(appletOption);
    const QString configPath =
        entries.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  QStringLiteral("/panelhostrc")
            : QString();
    PanelWindow panel(configPath);
    if (parser.isSet(heightOption) || !entries.isEmpty()) {
        panel.setPanelHeight(height);
    }
    panel.placeOnScreen();
    panel.show();

    if (entries.isEmpty()) {
        panel.restoreApplets();
    } else {
        loadNamedApplets(panel, entries);
    }
    return QApplication::exec();
}
