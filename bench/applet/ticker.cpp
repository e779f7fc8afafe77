// SPDX-License-Identifier: GPL-2.0-or-later
// The benchmark's own fast path into a running panel: bench-memory.sh loads
// this module into panelhost with LD_PRELOAD. Once the applet's gauge
// exists it writes "ready" to $OVRA_BENCH_DIR/progress and waits for the
// file $OVRA_BENCH_DIR/go; then it runs the gauge's refresh slot
// $OVRA_BENCH_TICKS times, changing battery 0's charge before each tick so
// that every tick rebuilds the tool tip and repaints, and writes "done".

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int ticksPerTurn = 100;
const QString stateFile = QStringLiteral("/proc/H8/BAT0/state");

QString benchFile(const char* name)
{
    return QDir(qEnvironmentVariable("OVRA_BENCH_DIR")).filePath(QString::fromLatin1(name));
}

void writeProgress(const QByteArray& text)
{
    QFile file(benchFile("progress"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text + '\n');
    }
}

QWidget* findGauge()
{
    for (QWidget* widget : QApplication::allWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), "GraphFrame") == 0) {
            return widget;
        }
    }
    return nullptr;
}

// Two state texts that differ in the charge, so that each tick shows a change.
struct States
{
    QByteArray text[2];
};

States statesOf(const QByteArray& original)
{
    States states{{original, original}};
    const int at = original.indexOf("RelativeStateofCharge:");
    const int percent = at < 0 ? -1 : original.indexOf('%', at);
    if (percent > 0) {
        states.text[1].replace(percent - 1, 1, original.at(percent - 1) == '1' ? "2" : "1");
    }
    return states;
}

void writeState(const QByteArray& text)
{
    QFile file(stateFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text);
    }
}

class Ticker : public QObject
{
public:
    explicit Ticker(QObject* parent) : QObject(parent)
    {
        m_ticks = qEnvironmentVariableIntValue("OVRA_BENCH_TICKS");
        connect(&m_timer, &QTimer::timeout, this, &Ticker::turn);
        m_timer.start(20);
    }

private:
    void turn()
    {
        if (!m_gauge) {
            m_gauge = findGauge();
            if (m_gauge) {
                writeProgress("ready");
            }
            return;
        }
        if (!m_going) {
            if (!QFile::exists(benchFile("go"))) {
                return;
            }
            QFile file(stateFile);
            if (file.open(QIODevice::ReadOnly)) {
                m_states = statesOf(file.readAll());
            }
            m_going = true;
            m_timer.setInterval(0);
        }
        for (int i = 0; i < ticksPerTurn && m_done < m_ticks; ++i, ++m_done) {
            writeState(m_states.text[m_done % 2]);
            QMetaObject::invokeMethod(m_gauge, "transfer_draw_icon", Qt::DirectConnection);
        }
        if (m_done >= m_ticks) {
            m_timer.stop();
            writeProgress("done " + QByteArray::number(m_done));
        }
    }

    QTimer m_timer;
    QWidget* m_gauge = nullptr;
    bool m_going = false;
    int m_ticks = 0;
    int m_done = 0;
    States m_states;
};

void startTicker()
{
    if (!qEnvironmentVariableIsEmpty("OVRA_BENCH_DIR")) {
        new Ticker(QCoreApplication::instance());
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startTicker)
