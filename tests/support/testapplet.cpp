// SPDX-License-Identifier: GPL-2.0-or-later
#include "testapplet.h"

#include <kaboutdialog.h>
#include <kglobal.h>
#include <kiconloader.h>
#include <klocale.h>
#include <kpopupmenu.h>
#include <kprocess.h>
#include <ovraqtcompat.h>

#include <QDataStream>
#include <QIODevice>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>
#include <libintl.h>

namespace {

template <typename T>
void writeReply(QCString& replyType, QByteArray& replyData, const char* type, const T& value)
{
    replyType = type;
    QDataStream out(&replyData, QIODevice::WriteOnly);
    out << value;
}

} // namespace

TestApplet::TestApplet(const QString& configFile, QWidget* parent)
    : KPanelApplet(configFile, Normal, About | Preferences, parent, "TestApplet"),
      DCOPObject("TestApplet")
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_menu = new KPopupMenu(this, "test_menu");
    m_menu->insertTitle(SmallIcon(QStringLiteral("battery")),
                        QString::fromUtf8(gettext("Test Applet")));
    m_menu->insertItem(SmallIcon(QStringLiteral("exit")), QString::fromUtf8(gettext("&Quit")), this,
                       SLOT(hide()));
}

TestApplet::~TestApplet()
{
    delete m_about.data();
}

int TestApplet::widthForHeight(int) const
{
    return m_preferredWidth;
}

int TestApplet::heightForWidth(int) const
{
    return height();
}

void TestApplet::about()
{
    delete m_about.data();
    m_about = new KAboutDialog(nullptr, nullptr, false);
    m_about->setTitle(QStringLiteral("Test Applet"));
    m_about->setVersion(QStringLiteral("1.0"));
    m_about->setAuthor(QStringLiteral("The desktop layer"), QString(), QString(), QString());
    m_about->setLogo(SmallIcon(QStringLiteral("info")));
    m_about->show();
}

void TestApplet::preferences()
{
    launch(QStringLiteral("true"));
}

bool TestApplet::launch(const QString& command)
{
    if (m_process) {
        return false;
    }
    m_process = new KProcess(this);
    m_process->setUseShell(true);
    *m_process << command;
    connect(m_process, &KProcess::processExited, this, [this](KProcess*) {
        m_process->deleteLater();
        m_process = nullptr;
    });
    if (!m_process->start(KProcess::NotifyOnExit, KProcess::NoCommunication)) {
        delete m_process;
        m_process = nullptr;
        return false;
    }
    return true;
}

bool TestApplet::setPreferredWidth(int width)
{
    if (width < 1) {
        return false;
    }
    m_preferredWidth = width;
    Q_EMIT updateLayout();
    update();
    return true;
}

QCStringList TestApplet::functions()
{
    QCStringList list = DCOPObject::functions();
    list << "int width()"
         << "int height()"
         << "int positionChanges()"
         << "void setPreferredWidth(int width)"
         << "void setFixedWidth(int width)"
         << "QString greeting()"
         << "bool launch(QString command)";
    return list;
}

QCStringList TestApplet::interfaces()
{
    QCStringList list = DCOPObject::interfaces();
    list << "TestApplet";
    return list;
}

bool TestApplet::process(const QCString& fun, const QByteArray& args, QCString& replyType,
                         QByteArray& replyData)
{
    QDataStream in(args);
    if (fun == "width()") {
        writeReply(replyType, replyData, "int", qint32(width()));
    } else if (fun == "height()") {
        writeReply(replyType, replyData, "int", qint32(height()));
    } else if (fun == "positionChanges()") {
        writeReply(replyType, replyData, "int", qint32(m_positionChanges));
    } else if (fun == "setPreferredWidth(int)") {
        qint32 width = 0;
        in >> width;
        replyType = "void";
        return in.status() == QDataStream::Ok && setPreferredWidth(width);
    } else if (fun == "setFixedWidth(int)") {
        qint32 width = 0;
        in >> width;
        if (in.status() != QDataStream::Ok || width < 1) {
            return false;
        }
        replyType = "void";
        setFixedWidth(width);
    } else if (fun == "greeting()") {
        writeReply(replyType, replyData, "QString", QString::fromUtf8(gettext("Hello")));
    } else if (fun == "launch(QString)") {
        QString command;
        in >> command;
        writeReply(replyType, replyData, "bool", launch(command));
    } else {
        return DCOPObject::process(fun, args, replyType, replyData);
    }
    return true;
}

void TestApplet::positionChange(Position)
{
    ++m_positionChanges;
}

void TestApplet::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect().adjusted(2, 2, -2, -2);
    painter.fillRect(inside, QColor(0x2e, 0x7d, 0x32));
    painter.setPen(Qt::white);
    painter.drawText(inside, Qt::AlignCenter, QStringLiteral("%1 px").arg(width()));
}

void TestApplet::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_menu->popup(OvraQt::globalPos(event));
    }
}

extern "C" KDE_EXPORT KPanelApplet* init(QWidget* parent, const QString& configFile)
{
    // Lets the tests check that the panel survives an applet that declines to start.
    if (std::getenv("OVRA_TESTAPPLET_NULL")) {
        return nullptr;
    }
    KGlobal::locale()->insertCatalogue(QStringLiteral("ovradesktoptest"));
    return new TestApplet(configFile, parent);
}
