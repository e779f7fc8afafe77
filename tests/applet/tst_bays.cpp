// SPDX-License-Identifier: GPL-2.0-or-later
// Property of the battery bays, without a gauge: for generated combinations
// of BAT0 and BAT1, each absent, readable (on mains or not), garbage or
// unreadable, the batteries there at this moment are counted and read. One
// battery in either bay shows its own charge and power source; a battery
// that cannot be read leaves the charge unknown ("? %") and says nothing of
// mains power; two readable batteries show their combined charge.

#include "laptopfixture.h"

#include "applet/gaugeview.h"
#include "batteries/modulefiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

namespace {

enum class Kind
{
    Absent,
    Readable,
    Garbage,
    Unreadable
};

// One generated battery and what its state file says.
struct Generated
{
    Kind kind = Kind::Absent;
    bool mains = false;
    bool full = false;
    int perC = 0;
    int now = 0;
    int lastFull = 0;
    int toEmpty = 0;
    int toFull = 0;
};

QString bayDir(int n)
{
    return QStringLiteral("/proc/H8/BAT%1").arg(n);
}

QByteArray stateText(const Generated& g)
{
    QByteArray text;
    const auto line = [&text](const char* label, const QByteArray& value) {
        text += QByteArray(label) + ':' + QByteArray(28 - int(qstrlen(label)), ' ') + value + '\n';
    };
    line("AC attached", g.mains ? "Yes" : "No");
    line("Voltage", "11.100 V");
    line("RelativeStateofCharge", QByteArray::number(g.perC) + '%');
    line("RemainingCapacity", QByteArray::number(g.now) + " mWh");
    line("FullChargeCapacity", QByteArray::number(g.lastFull) + " mWh");
    line("AverageTimeToEmpty", QByteArray::number(g.toEmpty) + " mins");
    line("AverageTimeToFull", QByteArray::number(g.toFull) + " mins");
    line("FullyCharged", g.full ? "1" : "0");
    return text;
}

// Bytes without a colon hold none of the module's labels.
QByteArray garbage(QRandomGenerator& random)
{
    QByteArray bytes(random.bounded(200), '\0');
    for (char& c : bytes) {
        c = char(random.bounded(256));
        if (c == ':') {
            c = '\n';
        }
    }
    return bytes;
}

Generated generate(QRandomGenerator& random)
{
    Generated g;
    g.kind = Kind(random.bounded(4));
    g.mains = random.bounded(2) == 0;
    g.full = g.mains && random.bounded(4) == 0;
    g.perC = random.bounded(101);
    g.lastFull = 1000 + random.bounded(5000);
    g.now = g.lastFull * g.perC / 100;
    g.toEmpty = random.bounded(600);
    g.toFull = random.bounded(600);
    return g;
}

void install(int n, const Generated& g, QRandomGenerator& random)
{
    const QString dir = bayDir(n);
    QDir(dir).removeRecursively();
    if (g.kind == Kind::Absent) {
        return;
    }
    const QString state = dir + QStringLiteral("/state");
    switch (g.kind) {
    case Kind::Readable:
        laptop::writeFile(state, stateText(g));
        break;
    case Kind::Garbage:
        laptop::writeFile(state, garbage(random));
        break;
    default:
        // Opens, then every read fails with an I/O error, as the simulator's.
        QDir().mkpath(dir);
        QFile::link(QStringLiteral("/proc/self/mem"), state);
        break;
    }
}

bool readable(const Generated& g)
{
    return g.kind == Kind::Readable;
}

bool present(const Generated& g)
{
    return g.kind != Kind::Absent;
}

QString minutesText(int minutes)
{
    if (minutes < 1) {
        return QString();
    }
    return QString::asprintf("%d : %02d", minutes / 60, minutes % 60);
}

QString statusText(const Generated* g)
{
    if (!g) {
        return QStringLiteral("no battery reading");
    }
    if (!g->mains) {
        return QStringLiteral("Running on batteries");
    }
    return g->full ? QStringLiteral("full charged") : QStringLiteral("charging");
}

int timeOf(const Generated& g)
{
    return g.mains ? g.toFull : g.toEmpty;
}

QByteArray describe(const Generated (&g)[2])
{
    static const char* const kinds[] = {"absent", "readable", "garbage", "unreadable"};
    QByteArray text;
    for (int n = 0; n < 2; ++n) {
        text += "BAT" + QByteArray::number(n) + ' ' + kinds[int(g[n].kind)];
        if (readable(g[n])) {
            text += g[n].mains ? " on mains" : " on battery";
        }
        text += "; ";
    }
    return text;
}

} // namespace

class TestBays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void whatIsThereIsShown()
    {
        QRandomGenerator random(4242);
        for (int i = 0; i < 300; ++i) {
            Generated g[2] = {generate(random), generate(random)};
            for (int n = 0; n < 2; ++n) {
                install(n, g[n], random);
            }
            const QByteArray what = describe(g);

            batteries::ModuleFiles files;
            const battery::Bay bay0 = files.bay(0);
            const battery::Bay bay1 = files.bay(1);
            QVERIFY2(bay0.present == present(g[0]) && bay1.present == present(g[1]), what);
            QVERIFY2(bay0.known == readable(g[0]) && bay1.known == readable(g[1]), what);

            const GaugeView view = battery::viewOf(bay0, bay1);
            const int count = int(present(g[0])) + int(present(g[1]));
            QVERIFY2(view.batteries == count, what);
            if (count == 0) {
                QCOMPARE(battery::toolTipOf(view), QStringLiteral("No battery"));
                continue;
            }

            // The power source is told by the first battery that can be read.
            const Generated* source = readable(g[0]) ? &g[0] : readable(g[1]) ? &g[1] : nullptr;
            QVERIFY2(view.showIcon == (source && source->mains), what);
            QVERIFY2(view.status == (source ? (source->mains ? (source->full ? 2 : 0) : 1) : -1),
                     what);

            const bool allKnown =
                (!present(g[0]) || readable(g[0])) && (!present(g[1]) || readable(g[1]));
            QVERIFY2(view.known == allKnown, what);
            std::optional<int> per;
            if (allKnown && count == 1) {
                per = source->perC;
            }
            if (allKnown && count == 2) {
                per = int((double(g[0].now) + g[1].now) * 100.0 / (g[0].lastFull + g[1].lastFull));
            }
            QVERIFY2(view.tipPer == per, what);
            if (per) {
                QVERIFY2(view.per == *per, what);
            }

            int minutes = 0;
            for (const Generated& bat : g) {
                if (readable(bat)) {
                    minutes += timeOf(bat);
                }
            }
            const QString tip =
                statusText(source) + QStringLiteral(" -- ") + minutesText(minutes) +
                QStringLiteral(" -- ") +
                (per ? QString::number(*per) + QStringLiteral(" %") : QStringLiteral("? %"));
            QVERIFY2(battery::toolTipOf(view) == tip,
                     what + battery::toolTipOf(view).toUtf8() + " instead of " + tip.toUtf8());
        }
    }
};

QTEST_GUILESS_MAIN(TestBays)
#include "tst_bays.moc"
