// SPDX-License-Identifier: GPL-2.0-or-later
#include "appletcontainer.h"
#include "applethandle.h"
#include "appletpaths.h"
#include "desktop/panelhost/panelwindow.h"

#include <dcopclient.h>
#include <kpanelapplet.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

AppletInfo testAppletInfo()
{
    const QString path = AppletPaths::findEntry(QStringLiteral("testapplet.desktop"));
    return AppletInfo::load(path);
}

QStringList menuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

/// The panel, in this process, with the test applet built beside it.
class TestPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void findsAppletsOfTheBuildTree();
    void loadsAppletWithFreshConfigFileName();
    void widthFollowsWidthForHeightAndConstraints();
    void handleMenuOffersDeclaredActionsAndRemove();
    void removeDestroysTheApplet();
    void nullInitLeavesThePanelWorking();
    void loadingErrorsAreReported_data();
    void loadingErrorsAreReported();
    void configurationKeepsTheApplets();
    void configurationKeepsEachAppletsConfigFile();
    void configurationNamesOnlyAppletFolders();
    void containerWithoutHandleHoldsTheAppletAlone();
    void prependedFoldersComeFirst();

private:
    std::unique_ptr<PanelWindow> m_panel;
    QTemporaryDir m_dir;
};

void TestPanel::initTestCase()
{
    DCOPClient::mainClient()->registerAs("panelhost");
    QVERIFY(testAppletInfo().isValid());
}

void TestPanel::init()
{
    m_panel = std::make_unique<PanelWindow>(QString());
    m_panel->setPanelHeight(40);
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
}

void TestPanel::cleanup()
{
    m_panel.reset();
    qunsetenv("OVRA_TESTAPPLET_NULL");
}

void TestPanel::findsAppletsOfTheBuildTree()
{
    // The program folder is build/bin: its share/ and lib/ come first.
    const QString buildDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/..");
    QCOMPARE(AppletPaths::dataDirs().constFirst(),
             QFileInfo(buildDir + "/share/ovra/applets").canonicalFilePath());
    QCOMPARE(AppletPaths::pluginDirs().constFirst(),
             QFileInfo(buildDir + "/lib").canonicalFilePath());
    const AppletInfo info = testAppletInfo();
    QCOMPARE(info.name, QStringLiteral("Test Applet"));
    QCOMPARE(info.library, QStringLiteral("libovratestapplet"));
    QVERIFY(AppletPaths::findLibrary(info.library).startsWith(buildDir + "/lib/"));
    // Marked NoDisplay: loaded when named, never offered nor loaded by default.
    QVERIFY(info.hidden);
    bool listed = false;
    for (const AppletInfo& a : AppletPaths::available()) {
        listed = listed || a.entryName() == QLatin1String("testapplet.desktop");
    }
    QVERIFY(!listed);
}

void TestPanel::loadsAppletWithFreshConfigFileName()
{
    AppletContainer* first = m_panel->addApplet(testAppletInfo());
    AppletContainer* second = m_panel->addApplet(testAppletInfo());
    QVERIFY(first && second);
    const QRegularExpression form(QStringLiteral("^ovratestapplet_[a-z0-9]{8}_rc$"));
    QVERIFY2(form.match(first->applet()->configFile()).hasMatch(), qPrintable(first->configFile()));
    QVERIFY(form.match(second->applet()->configFile()).hasMatch());
    QVERIFY(first->configFile() != second->configFile());
    QCOMPARE(first->applet()->parentWidget(), first);
    QCOMPARE(first->applet()->position(), KPanelApplet::pBottom);
}

void TestPanel::widthFollowsWidthForHeightAndConstraints()
{
    AppletContainer* container = m_panel->addApplet(testAppletInfo());
    QVERIFY(container);
    KPanelApplet* applet = container->applet();
    QTRY_COMPARE(applet->width(), 60);
    QCOMPARE(container->width(), AppletHandle::handleWidth + 60);
    QCOMPARE(applet->height(), container->height());

    // The applet changes its wish and asks for a new layout.
    QVERIFY(QMetaObject::invokeMethod(applet, "updateLayout")); // no change yet: same width
    QTRY_COMPARE(applet->width(), 60);
    auto* dcop = dynamic_cast<DCOPObject*>(applet);
    QVERIFY(dcop);
    QCString replyType;
    QByteArray reply;
    QByteArray arg;
    QDataStream(&arg, QIODevice::WriteOnly) << qint32(95);
    QVERIFY(dcop->process("setPreferredWidth(int)", arg, replyType, reply));
    QTRY_COMPARE(applet->width(), 95);
    QTRY_COMPARE(container->width(), AppletHandle::handleWidth + 95);

    // Width constraints set by the applet itself win and are followed at once.
    applet->setFixedWidth(150);
    QTRY_COMPARE(container->width(), AppletHandle::handleWidth + 150);
    QCOMPARE(applet->width(), 150);
    applet->setMinimumWidth(0);
    applet->setMaximumWidth(QWIDGETSIZE_MAX);
    QTRY_COMPARE(applet->width(), 95);

    // A hidden applet gives its room back; shown again, it takes it.
    applet->hide();
    QTRY_COMPARE(container->width(), AppletHandle::handleWidth);
    applet->show();
    QTRY_COMPARE(container->width(), AppletHandle::handleWidth + 95);

    // The panel height reaches the applet.
    m_panel->setPanelHeight(48);
    QTRY_COMPARE(applet->height(), 44);
}

void TestPanel::handleMenuOffersDeclaredActionsAndRemove()
{
    AppletContainer* container = m_panel->addApplet(testAppletInfo());
    QVERIFY(container);
    QCOMPARE(container->applet()->actions(), int(KPanelApplet::About | KPanelApplet::Preferences));
    std::unique_ptr<QMenu> menu(container->handle()->createMenu());
    QCOMPARE(menuTexts(menu.get()),
             QStringList({QStringLiteral("&About"), QStringLiteral("&Preferences..."),
                          QStringLiteral("&Remove")}));
    // About opens the applet's about box.
    menuAction(menu.get(), QStringLiteral("&About"))->trigger();
    QWidget* about = nullptr;
    QTRY_VERIFY((about = [] {
                    for (QWidget* w : QApplication::topLevelWidgets()) {
                        if (w->inherits("KAboutDialog") && w->isVisible()) {
                            return w;
                        }
                    }
                    return static_cast<QWidget*>(nullptr);
                }()) != nullptr);
    QVERIFY(about->windowTitle().contains(QStringLiteral("Test Applet")));
}

void TestPanel::removeDestroysTheApplet()
{
    AppletContainer* container = m_panel->addApplet(testAppletInfo());
    QVERIFY(container);
    QPointer<KPanelApplet> applet = container->applet();
    QVERIFY(DCOPClient::mainClient()->findObject("TestApplet"));
    const QString rc = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                           .filePath(container->configFile());
    QDir().mkpath(QFileInfo(rc).path());
    QFile file(rc);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    std::unique_ptr<QMenu> menu(container->handle()->createMenu());
    menuAction(menu.get(), QStringLiteral("&Remove"))->trigger();
    QTRY_VERIFY(applet.isNull());
    QVERIFY(m_panel->containers().isEmpty());
    QVERIFY(!DCOPClient::mainClient()->findObject("TestApplet"));
    QVERIFY(!QFile::exists(rc));
}

void TestPanel::nullInitLeavesThePanelWorking()
{
    qputenv("OVRA_TESTAPPLET_NULL", "1");
    QString error;
    QVERIFY(!m_panel->addApplet(testAppletInfo(), &error));
    QVERIFY2(error.contains(QStringLiteral("returned no applet")), qPrintable(error));
    QVERIFY(m_panel->containers().isEmpty());
    qunsetenv("OVRA_TESTAPPLET_NULL");
    QVERIFY(m_panel->addApplet(testAppletInfo()));
    QCOMPARE(m_panel->containers().size(), 1);
}

void TestPanel::loadingErrorsAreReported_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing library")
        << QByteArray("[Desktop Entry]\nName=Gone\nX-KDE-Library=libovranothere\n")
        << QStringLiteral("library libovranothere not found");
    QTest::newRow("no init")
        << QByteArray("[Desktop Entry]\nName=Core\nX-KDE-Library=" OVRA_DESKTOP_LIBRARY "\n")
        << QStringLiteral("exports no init function");
    QTest::newRow("not a library")
        << QByteArray("[Desktop Entry]\nName=Text\nX-KDE-Library=libtext\n")
        << QStringLiteral("cannot load @TEXTFILE@");
    // Only names are looked up, and only in the plug-in folders.
    QTest::newRow("library by path")
        << QByteArray("[Desktop Entry]\nName=Path\nX-KDE-Library=@TESTAPPLET@\n")
        << QStringLiteral("library @TESTAPPLET@ is a path");
    QTest::newRow("no library named") << QByteArray("[Desktop Entry]\nName=Nothing\n")
                                      << QStringLiteral("names no applet library");
    QTest::newRow("not an entry") << QByteArray("\x7f"
                                                "ELF binary garbage\n")
                                  << QStringLiteral("is not a desktop entry");
}

void TestPanel::loadingErrorsAreReported()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, message);
    // A text file named like a library, in a plug-in folder.
    const QString textFolder = m_dir.filePath(QStringLiteral("textlib"));
    QVERIFY(QDir().mkpath(textFolder));
    AppletPaths::prependSearchDirs({}, {textFolder});
    const QString textFile =
        QDir(QFileInfo(textFolder).canonicalFilePath()).filePath(QStringLiteral("libtext.so"));
    QFile text(textFile);
    QVERIFY(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("just text\n");
    text.close();
    const QString testApplet = AppletPaths::findLibrary(testAppletInfo().library);
    QVERIFY(!testApplet.isEmpty());
    entry.replace("@TESTAPPLET@", testApplet.toUtf8());
    message.replace(QLatin1String("@TEXTFILE@"), textFile);
    message.replace(QLatin1String("@TESTAPPLET@"), testApplet);
    const QString path = m_dir.filePath(QStringLiteral("bad.desktop"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(entry);
    file.close();

    QString error;
    const AppletInfo info = AppletInfo::load(path, &error);
    if (info.isValid()) {
        QVERIFY(!m_panel->addApplet(info, &error));
    }
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(m_panel->containers().isEmpty());
}

void TestPanel::configurationKeepsTheApplets()
{
    const QString config = m_dir.filePath(QStringLiteral("panelhostrc"));
    {
        PanelWindow panel(config);
        panel.addApplet(testAppletInfo());
        panel.addApplet(testAppletInfo());
        panel.removeApplet(panel.containers().constFirst());
        QCOMPARE(panel.containers().size(), 1);
    }
    PanelWindow restored(config);
    restored.restoreApplets();
    QCOMPARE(restored.containers().size(), 1);
    QCOMPARE(restored.containers().constFirst()->info().entryName(),
             QStringLiteral("testapplet.desktop"));
}

// Restarted, the panel hands each applet the configuration file it had, so
// that the applet finds what it stored there.
void TestPanel::configurationKeepsEachAppletsConfigFile()
{
    const QString config = m_dir.filePath(QStringLiteral("panelhostrc"));
    QStringList names;
    {
        PanelWindow panel(config);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(panel.addApplet(testAppletInfo()));
        }
        panel.removeApplet(panel.containers().at(1));
        for (const AppletContainer* container : panel.containers()) {
            names << container->applet()->configFile();
        }
    }
    QCOMPARE(names.size(), 2);
    QVERIFY(names.at(0) != names.at(1));
    for (int restart = 0; restart < 2; ++restart) {
        PanelWindow restored(config);
        restored.restoreApplets();
        QStringList restoredNames;
        for (const AppletContainer* container : restored.containers()) {
            restoredNames << container->applet()->configFile();
        }
        QCOMPARE(restoredNames, names);
    }

    // A name that is no plain file name, or is taken twice, gives way to a new one.
    {
        QSettings settings(config, QSettings::IniFormat);
        settings.setValue(
            QStringLiteral("General/ConfigFiles"),
            QStringList{QStringLiteral("../escape_rc"), QStringLiteral("../escape_rc")});
    }
    PanelWindow odd(config);
    odd.restoreApplets();
    QCOMPARE(odd.containers().size(), 2);
    const QRegularExpression form(QStringLiteral("^ovratestapplet_[a-z0-9]{8}_rc$"));
    for (const AppletContainer* container : odd.containers()) {
        QVERIFY2(form.match(container->configFile()).hasMatch(),
                 qPrintable(container->configFile()));
    }
}

// An entry planted where the panel was started, named in its configuration
// by name or by path, is never loaded; the user may still name it on the
// command line.
void TestPanel::configurationNamesOnlyAppletFolders()
{
    const QString work = m_dir.filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(work));
    const QString planted = QDir(work).filePath(QStringLiteral("planted.desktop"));
    QFile entry(planted);
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nName=Planted\nX-KDE-Library=libovratestapplet\n");
    entry.close();
    const QString config = m_dir.filePath(QStringLiteral("plantedrc"));
    {
        QSettings settings(config, QSettings::IniFormat);
        settings.setValue(QStringLiteral("General/Applets"),
                          QStringList{QStringLiteral("planted.desktop"), QStringLiteral("planted"),
                                      QStringLiteral("../work/planted.desktop"), planted,
                                      QStringLiteral("testapplet.desktop")});
    }
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work));
    PanelWindow restored(config);
    restored.restoreApplets();
    QCOMPARE(QFileInfo(AppletPaths::findEntryOrFile(QStringLiteral("planted.desktop")))
                 .canonicalFilePath(),
             QFileInfo(planted).canonicalFilePath());
    QVERIFY(QDir::setCurrent(started));

    QCOMPARE(restored.containers().size(), 1);
    QCOMPARE(restored.containers().constFirst()->info().name, QStringLiteral("Test Applet"));
}

void TestPanel::containerWithoutHandleHoldsTheAppletAlone()
{
    // As a panel with menus of its own hosts an applet (the LXQt plugin).
    AppletContainer container(testAppletInfo(), QStringLiteral("ovratestapplet_x_rc"), nullptr,
                              AppletContainer::Handle::None);
    QString error;
    QVERIFY2(container.loadApplet(&error), qPrintable(error));
    container.resize(10, 30);
    container.show();
    QVERIFY(!container.handle());
    QCOMPARE(container.handleWidth(), 0);
    KPanelApplet* applet = container.applet();
    QCOMPARE(applet->configFile(), QStringLiteral("ovratestapplet_x_rc"));
    QTRY_COMPARE(container.width(), 60);
    QCOMPARE(applet->geometry(), QRect(0, 0, 60, 30));
    applet->setFixedWidth(110);
    QTRY_COMPARE(container.width(), 110);
    QCOMPARE(applet->geometry(), QRect(0, 0, 110, 30));
}

void TestPanel::prependedFoldersComeFirst()
{
    // A copy of the test applet's entry under another name, in folders a host prepends.
    const QString data = m_dir.filePath(QStringLiteral("data"));
    const QString plugins = m_dir.filePath(QStringLiteral("plugins"));
    QVERIFY(QDir().mkpath(data) && QDir().mkpath(plugins));
    QFile entry(QDir(data).filePath(QStringLiteral("testapplet.desktop")));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nName=Prepended\nX-KDE-Library=libovratestapplet\n");
    entry.close();
    const QString library = AppletPaths::findLibrary(QStringLiteral("libovratestapplet"));
    QVERIFY(QFile::copy(library, QDir(plugins).filePath(QStringLiteral("libovratestapplet.so"))));

    AppletPaths::prependSearchDirs({data, m_dir.filePath(QStringLiteral("missing"))}, {plugins});
    QCOMPARE(AppletPaths::dataDirs().constFirst(), QFileInfo(data).canonicalFilePath());
    QCOMPARE(AppletPaths::pluginDirs().constFirst(), QFileInfo(plugins).canonicalFilePath());
    QCOMPARE(testAppletInfo().name, QStringLiteral("Prepended"));
    QCOMPARE(AppletPaths::findLibrary(QStringLiteral("libovratestapplet")),
             QDir(QFileInfo(plugins).canonicalFilePath()).filePath("libovratestapplet.so"));
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
