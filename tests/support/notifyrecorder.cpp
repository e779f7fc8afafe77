// SPDX-License-Identifier: GPL-2.0-or-later
// A notification service for tests: owns org.freedesktop.Notifications on the
// session bus and appends each Notify call to a file, one line a call:
//   app name<TAB>icon<TAB>summary<TAB>body<TAB>urgency
// with backslash, tab and line feed written as \\, \t and \n, as the
// stand-ins' call log does. The file is created once the name is owned, so
// a test waits for the file before it starts the program under test. With
// --silent it records each call but never answers it, as a hung service.
//   notifyrecorder [--silent] FILE
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>

namespace {

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

class Recorder : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    Recorder(const QString& fileName, bool silent) : m_fileName(fileName), m_silent(silent) {}

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout, const QDBusMessage& message)
    {
        if (m_silent) {
            message.setDelayedReply(true);
        }
        (void)actions;
        (void)expireTimeout;
        const QStringList fields{escaped(appName), escaped(icon), escaped(summary), escaped(body),
                                 QString::number(hints.value(QStringLiteral("urgency")).toInt())};
        QFile file(m_fileName);
        if (file.open(QIODevice::Append)) {
            file.write(fields.join(QLatin1Char('\t')).toUtf8() + '\n');
        }
        return replacesId != 0 ? replacesId : ++m_lastId;
    }

    QStringList GetCapabilities() { return {QStringLiteral("body")}; }

    QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion)
    {
        vendor = QStringLiteral("ovra tests");
        version = QStringLiteral("1.0");
        protocolVersion = QStringLiteral("1.2");
        return QStringLiteral("notifyrecorder");
    }

    void CloseNotification(uint id) { (void)id; }

private:
    QString m_fileName;
    bool m_silent;
    uint m_lastId = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList args = application.arguments();
    const bool silent = args.size() > 1 && args.at(1) == QLatin1String("--silent");
    if (silent) {
        args.removeAt(1);
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: notifyrecorder [--silent] FILE\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    Recorder recorder(args.at(1), silent);
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "notifyrecorder: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    QFile ready(args.at(1));
    if (!ready.open(QIODevice::Append)) {
        return 1;
    }
    ready.close();
    return application.exec();
}

#include "notifyrecorder.moc"
