// SPDX-License-Identifier: GPL-2.0-or-later
#include "laptopfixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <stdexcept>

#include <sys/mount.h>
#include <unistd.h>

namespace laptop {
namespace {

QString laptopDir()
{
    const QString dir = qEnvironmentVariable("LAPTOP_DIR");
    if (dir.isEmpty()) {
        throw std::runtime_error("not inside laptop/sandbox (LAPTOP_DIR is unset)");
    }
    return dir;
}

QString tool(const QString& name)
{
    return qEnvironmentVariable("LAPTOP_SRC") + QLatin1Char('/') + name;
}

void runTool(const QString& name, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(tool(name), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        throw std::runtime_error(
            QStringLiteral("%1 %2 failed").arg(name, args.join(QLatin1Char(' '))).toStdString());
    }
}

// Undoes the call log's escaping of backslash, tab and line feed.
QString unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c != '\\' || i + 1 == field.size()) {
            out.append(c);
            continue;
        }
        const char next = field.at(++i);
        out.append(next == 'n' ? '\n' : next == 't' ? '\t' : next);
    }
    return QString::fromUtf8(out);
}

Call parseCall(const QByteArray& line)
{
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() < 5) {
        throw std::runtime_error("malformed call-log line: " + line.toStdString());
    }
    Call call;
    call.program = unescape(fields[0]);
    call.ruid = fields[1].toUInt();
    call.euid = fields[2].toUInt();
    call.exitCode = fields[3].toInt();
    call.shellCommand = unescape(fields[4]);
    for (int i = 5; i < fields.size(); ++i) {
        call.args << unescape(fields[i]);
    }
    return call;
}

} // namespace

bool inside()
{
    return !qEnvironmentVariable("LAPTOP_DIR").isEmpty();
}

QList<Call> calls()
{
    QList<Call> result;
    const QByteArray log = readFile(laptopDir() + QStringLiteral("/calls.log"));
    for (const QByteArray& line : log.split('\n')) {
        if (!line.isEmpty()) {
            result << parseCall(line);
        }
    }
    return result;
}

QList<Call> callsOf(const QString& program)
{
    QList<Call> result;
    for (const Call& c : calls()) {
        if (c.program == program) {
            result << c;
        }
    }
    return result;
}

QStringList shellCommands()
{
    QStringList commands;
    for (const Call& call : calls()) {
        commands << call.shellCommand;
    }
    return commands;
}

QStringList callSummary()
{
    QStringList out;
    for (const Call& call : calls()) {
        out << (call.program + QLatin1Char(' ') + call.args.join(QLatin1Char(' '))).trimmed();
    }
    return out;
}

void clearCalls()
{
    QFile log(laptopDir() + QStringLiteral("/calls.log"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot clear the call log");
    }
}

void setBehaviour(const QString& name, int exitCode, double delaySeconds)
{
    runTool(QStringLiteral("standin-behaviour"), {name, QStringLiteral("exit=%1").arg(exitCode),
                                                  QStringLiteral("delay=%1").arg(delaySeconds)});
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    return f.readAll();
}

void battery(int n, const QStringList& settings)
{
    runTool(QStringLiteral("batterysim"),
            QStringList{QStringLiteral("set"), QString::number(n)} + settings);
}

void mains(bool attached)
{
    runTool(QStringLiteral("batterysim"),
            {QStringLiteral("mains"), attached ? QStringLiteral("on") : QStringLiteral("off")});
}

void startingBatteries()
{
    battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes"),
                QStringLiteral("charge=87"), QStringLiteral("readable=yes")});
    battery(1, {QStringLiteral("present=no")});
}

bool waitFor(const std::function<bool()>& cond, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired()) {
            return false;
        }
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QThread::msleep(10);
    }
    return true;
}

int zombieChildren()
{
    int zombies = 0;
    const QByteArray self = QByteArray::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // "pid (name) state ppid ...": the name may hold blanks.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1] == self && fields[0] == "Z") {
            ++zombies;
        }
    }
    return zombies;
}

QStringList processesWith(const QByteArray& text)
{
    QStringList found;
    const QString self = QString::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (pid == self || !cmdline.open(QIODevice::ReadOnly)) {
            continue;
        }
        // A process that has ended (a zombie) has no command line left.
        const QByteArray line = cmdline.readAll().replace('\0', ' ').trimmed();
        if (line.contains(text)) {
            found << QString::fromLocal8Bit(line);
        }
    }
    return found;
}

SmallFileSystem::SmallFileSystem(const QByteArray& dir, const char* options)
    : m_dir(dir), m_mounted(::mount("tmpfs", m_dir.constData(), "tmpfs", 0, options) == 0)
{
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted) {
        ::umount(m_dir.constData());
    }
}

} // namespace laptop
