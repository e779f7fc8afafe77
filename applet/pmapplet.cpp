// SPDX-License-Identifier: GPL-2.0-or-later
#include "pmapplet.h"

#include "comm.h"
#include "execshell.h"
#include "graphframe.h"

#include "machine/machine.h"

#include <kaboutdialog.h>
#include <kglobal.h>
#include <klocale.h>

#include <QDataStream>
#include <QFile>
#include <QImageReader>
#include <QMessageBox>
#include <QPixmap>
#include <QResizeEvent>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include <unistd.h>

namespace {

// Shown when the module never appeared; the line break is a real one so that
// the dialog shows two lines.
constexpr char strNoModuleDialog[] = "kdialog --title ovraapplet --error 'You have not installed "
                                     "battery module\nExit Program!'";
constexpr char strNoModuleText[] = "You have not installed battery module\nExit Program!";
constexpr int maxModuleLoads = 10;
// The whole check, loads and pauses together: about what a person waits for
// at login. The panel runs it on its GUI thread.
constexpr std::chrono::seconds moduleCheckLimit{30};
constexpr std::chrono::milliseconds pauseAfterLoad{1000};

// The DCOP calls: reply type, the signature matched, the signature listed.
// The empty row ends the table.
struct DcopFunction
{
    const char* replyType;
    const char* matched;
    const char* listed;
};
constexpr DcopFunction dcopFunctions[] = {
    {"void", "setPos(int)", "setPos(int pos)"},
    {"void", "exit()", "exit()"},
    {"void", "hide()", "hide()"},
    {"void", "show()", "show()"},
    {nullptr, nullptr, nullptr},
};
enum DcopCall
{
    callSetPos,
    callExit,
    callHide,
    callShow
};

// The error dialog through kdialog where the desktop has it; most of
// today's desktops do not, so otherwise the same two lines in a Qt box.
// The dialog's outcome is not looked at, and it holds up the panel for one
// bound at most: a dialog still open then is left to the user.
void tellModuleMissing()
{
    if (!QStandardPaths::findExecutable(QStringLiteral("kdialog")).isEmpty()) {
        runShell(strNoModuleDialog, powerdaemon::CommandTimeLimit, nullptr,
                 powerdaemon::AtBound::Leave);
        return;
    }
    QMessageBox::critical(nullptr, QStringLiteral("ovraapplet"),
                          QString::fromLatin1(strNoModuleText));
}

// Writes the configuration file's name and a line break to standard output,
// directly rather than through a shell, so any name prints whole and nothing
// in it is ever run.
void echoConfigFile(const QString& configFile)
{
    const QByteArray name = configFile.toLatin1();
    std::fwrite(name.constData(), 1, size_t(name.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

extern "C" KDE_EXPORT KPanelApplet* init(QWidget* parent, const QString& configFile)
{
    if (!JudgeBatModule()) {
        return nullptr;
    }
    KGlobal::locale()->insertCatalogue(QString::fromLatin1(m_strIFace));
    auto* applet = new OvraApplet(configFile, KPanelApplet::Normal, KPanelApplet::Preferences,
                                  parent, m_strIFace);
    echoConfigFile(configFile);
    return applet;
}

bool JudgeBatModule()
{
    // UPower tells this machine's batteries: there is no module to load.
    if (machine::thisMachine().battery == machine::BatterySource::UPower) {
        return true;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + moduleCheckLimit;
    const auto timeLeft = [deadline] {
        return std::max(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
            std::chrono::milliseconds(0));
    };
    int attempts = 0;
    while (attempts < maxModuleLoads) {
        if (access(m_strPathBatInfo, F_OK) == 0) {
            sleep(1);
            return true;
        }
        if (timeLeft().count() == 0) {
            break;
        }
        ++attempts;
        // Bounded by what is left of the check: a load that hangs is ended
        // with what it started, and no further load is tried after it.
        runShell(m_strFileBatModule, timeLeft());
        std::this_thread::sleep_for(std::min(pauseAfterLoad, timeLeft()));
    }
    tellModuleMissing();
    return false;
}

QPixmap* load_qpixmap(const char* name)
{
    auto* pixmap = new QPixmap;
    const QString path = QString() + QString::fromLocal8Bit(name);
    // A PNG file, known by its signature, is read by Qt's own PNG reader: a
    // reader left to detect the format loads every image format plug-in to
    // ask it first, which costs the panel their libraries' memory. Any other
    // file's format is detected as usual.
    static const char pngSignature[] = "\x89PNG\r\n\x1a\n";
    QFile file(path);
    const bool png = file.open(QIODevice::ReadOnly) &&
                     file.read(sizeof pngSignature - 1) == QByteArray(pngSignature);
    file.close();
    if (png) {
        QImageReader reader(path, "png");
        reader.setAutoDetectImageFormat(false);
        *pixmap = QPixmap::fromImage(reader.read());
    } else {
        pixmap->load(path);
    }
    return pixmap;
}

OvraApplet::OvraApplet(const QString& configFile, KPanelApplet::Type type, int actions,
                       QWidget* parent, const char* name)
    : DCOPObject(m_strIFace), KPanelApplet(configFile, type, actions, parent, name),
      _graph_frame(nullptr), m_aboutDlg(nullptr)
{
    _graph_frame = new GraphFrame(this, "graph_frame");
    _graph_frame->show();
}

OvraApplet::~OvraApplet()
{
    closeAll();
}

int OvraApplet::widthForHeight(int /*height*/) const
{
    if (!_graph_frame || _graph_frame->oldStatus()) {
        return m_iBatWidth;
    }
    return m_iACWidth;
}

int OvraApplet::heightForWidth(int /*width*/) const
{
    return height();
}

void OvraApplet::resizeEvent(QResizeEvent* e)
{
    KPanelApplet::resizeEvent(e);
    if (_graph_frame) {
        _graph_frame->resize(e->size().width(), e->size().height());
    }
}

void OvraApplet::paintEvent(QPaintEvent* /*e*/)
{
    // The gauge covers the whole applet and does all the drawing.
}

void OvraApplet::positionChange(KPanelApplet::Position /*p*/)
{
    KPanelApplet::positionChange(KPanelApplet::pRight);
}

void OvraApplet::alignmentChange(KPanelApplet::Alignment /*a*/)
{
}

void OvraApplet::help()
{
}

void OvraApplet::preferences()
{
    if (_graph_frame) {
        _graph_frame->start_PM();
    }
}

void OvraApplet::about()
{
    delete m_aboutDlg;
    m_aboutDlg = new KAboutDialog(nullptr, nullptr, true);
    m_aboutDlg->setTitle(QString::fromUtf8(m_strMenuTitle));
    m_aboutDlg->setVersion(QString::fromLatin1(VERSION));
    m_aboutDlg->setAuthor(QString::fromLatin1(AUTHOR), QString::fromLatin1(AUTHOR_EMAIL), QString(),
                          QString());
    QPixmap logo;
    logo.load(QString::fromLatin1(m_strACIconPath));
    m_aboutDlg->setLogo(logo);
    m_aboutDlg->show();
}

void OvraApplet::closeAll()
{
    if (_graph_frame) {
        _graph_frame->close();
        delete _graph_frame;
        _graph_frame = nullptr;
    }
    delete m_aboutDlg;
    m_aboutDlg = nullptr;
}

bool OvraApplet::process(const QCString& fun, const QByteArray& callData, QCString& replyType,
                         QByteArray& replyData)
{
    for (int i = 0; dcopFunctions[i].matched; ++i) {
        if (fun != dcopFunctions[i].matched) {
            continue;
        }
        replyType = dcopFunctions[i].replyType;
        switch (i) {
        case callSetPos: {
            QDataStream arg(callData);
            if (arg.atEnd()) {
                return false;
            }
            qint32 pos = 0;
            arg >> pos;
            if (arg.status() != QDataStream::Ok) {
                return false; // fewer than the four bytes of an int
            }
            k_dcop_setPos(static_cast<ePos>(pos));
            break;
        }
        case callExit:
            k_dcop_exit();
            break;
        case callHide:
            k_dcop_hide();
            break;
        case callShow:
            k_dcop_show();
            break;
        }
        return true;
    }
    return DCOPObject::process(fun, callData, replyType, replyData);
}

QCStringList OvraApplet::functions()
{
    QCStringList funcs = DCOPObject::functions();
    for (int i = 0; dcopFunctions[i].matched; ++i) {
        funcs << QCString(dcopFunctions[i].replyType) + ' ' + dcopFunctions[i].listed;
    }
    return funcs;
}

QCStringList OvraApplet::interfaces()
{
    QCStringList ifaces = DCOPObject::interfaces();
    ifaces << m_strIFace;
    return ifaces;
}

void OvraApplet::k_dcop_setPos(ePos pos)
{
    // Only the right side is implemented; any other value is accepted and
    // changes nothing.
    if (pos != bRight) {
        return;
    }
    setPosition(KPanelApplet::pRight);
    setAlignment(KPanelApplet::RightBottom);
    update();
    repaint();
}

void OvraApplet::k_dcop_exit()
{
    KGlobal::locale()->removeCatalogue(QString::fromLatin1(m_strIFace));
    closeAll();
}

void OvraApplet::k_dcop_hide()
{
    hide();
}

void OvraApplet::k_dcop_show()
{
    show();
}
