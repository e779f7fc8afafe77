// SPDX-License-Identifier: GPL-2.0-or-later
#include <dcopclient.h>
#include <dcopobject.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDataStream>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <functional>
#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program while this process keeps serving its DCOP objects.
Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 30000) {
        QTest::qWait(5);
    }
    process.waitForFinished(1000);
    Run result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

Run dcop(const QStringList& args)
{
    return run(QStringLiteral(DCOP_PROGRAM), args);
}

Run dbusSend(const QStringList& args)
{
    return run(QStringLiteral("dbus-send"),
               QStringList{QStringLiteral("--session"), QStringLiteral("--print-reply"),
                           QStringLiteral("--dest=org.kde.desktoptest")} +
                   args);
}

QStringList lines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

/// A DCOP object with calls of several types; it records what process() got.
class Calc : public DCOPObject
{
public:
    explicit Calc(const QCString& id = "Calc") : DCOPObject(id) {}

    QCString lastFun;
    QByteArray lastData;
    QStringList log;
    std::function<void()> onEnter;

    QCStringList functions() override
    {
        QCStringList list = DCOPObject::functions();
        list << "int add(int a, int b)"
             << "void setPos(int pos)"
             << "QString echo(const QString& text)"
             << "bool negate(bool value)"
             << "void slow()";
        return list;
    }

    QCStringList interfaces() override { return DCOPObject::interfaces() << "Calc"; }

    bool process(const QCString& fun, const QByteArray& data, QCString& replyType,
                 QByteArray& replyData) override
    {
        lastFun = fun;
        lastData = data;
        QDataStream in(data);
        QDataStream out(&replyData, QIODevice::WriteOnly);
        if (fun == "add(int,int)") {
            qint32 a = 0, b = 0;
            in >> a >> b;
            replyType = "int";
            out << qint32(a + b);
        } else if (fun == "setPos(int)") {
            qint32 pos = 0;
            in >> pos;
            replyType = "void";
            return pos >= 0; // negative positions are refused
        } else if (fun == "echo(QString)") {
            QString text;
            in >> text;
            replyType = "QString";
            out << text;
        } else if (fun == "negate(bool)") {
            bool value = false;
            in >> value;
            replyType = "bool";
            out << !value;
        } else if (fun == "slow()") {
            log << QStringLiteral("enter");
            if (onEnter) {
                onEnter();
            }
            QEventLoop loop; // even with an event loop running, the next call must wait
            QTimer::singleShot(1500, &loop, &QEventLoop::quit);
            loop.exec();
            log << QStringLiteral("leave");
            replyType = "void";
        } else {
            return DCOPObject::process(fun, data, replyType, replyData);
        }
        return true;
    }
};

} // namespace

class TestDcop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void baseObjectAnswersInterfacesAndFunctions();
    void dcopListsApplicationsObjectsAndFunctions();
    void argumentsReachProcessInDcopEncoding();
    void repliesAreConvertedBack();
    void introspectionShowsTypedMethods();
    void refusedCallIsAnErrorForBothClients();
    void dcopReportsUnknownNamesAndBadArguments();
    void callsRunOneAtATime();
    void newestObjectOfAnIdAnswersUntilDestroyed();
    void secondInstanceRegistersWithPid();
    void applicationIsReachedByTheNameItRegistered_data();
    void applicationIsReachedByTheNameItRegistered();

private:
    Calc* m_calc = nullptr;
};

void TestDcop::initTestCase()
{
    QCOMPARE(DCOPClient::mainClient()->registerAs("desktoptest"), QCString("desktoptest"));
    QCOMPARE(DCOPClient::mainClient()->serviceName(), QStringLiteral("org.kde.desktoptest"));
    m_calc = new Calc;
}

void TestDcop::baseObjectAnswersInterfacesAndFunctions()
{
    DCOPObject plain("Plain");
    QCOMPARE(plain.objId(), QCString("Plain"));
    QCOMPARE(plain.functions(),
             QCStringList({"QCStringList interfaces()", "QCStringList functions()"}));
    QCOMPARE(plain.interfaces(), QCStringList{"DCOPObject"});
    QCOMPARE(m_calc->interfaces().constFirst(), QCString("DCOPObject"));

    QCString replyType;
    QByteArray replyData;
    QVERIFY(plain.process("interfaces()", QByteArray(), replyType, replyData));
    QCOMPARE(replyType, QCString("QCStringList"));
    QCStringList reply;
    QDataStream in(replyData);
    in >> reply;
    QCOMPARE(reply, QCStringList{"DCOPObject"});
    QVERIFY(!plain.process("nothing()", QByteArray(), replyType, replyData));
}

void TestDcop::dcopListsApplicationsObjectsAndFunctions()
{
    Run apps = dcop({});
    QCOMPARE(apps.exitCode, 0);
    QVERIFY2(lines(apps.out).contains(QStringLiteral("desktoptest")), qPrintable(apps.out));

    Run objects = dcop({QStringLiteral("desktoptest")});
    QCOMPARE(objects.exitCode, 0);
    QCOMPARE(lines(objects.out), QStringList{QStringLiteral("Calc")});

    Run functions = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc")});
    QCOMPARE(functions.exitCode, 0);
    QStringList expected;
    for (const QCString& f : m_calc->functions()) {
        expected << QString::fromLatin1(f);
    }
    QCOMPARE(lines(functions.out), expected);

    Run viaCall =
        dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("interfaces")});
    QCOMPARE(lines(viaCall.out),
             QStringList({QStringLiteral("DCOPObject"), QStringLiteral("Calc")}));
}

void TestDcop::argumentsReachProcessInDcopEncoding()
{
    Run r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("setPos"),
                  QStringLiteral("5")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_calc->lastFun, QCString("setPos(int)"));
    QCOMPARE(m_calc->lastData, QByteArray("\x00\x00\x00\x05", 4));

    r = dbusSend({QStringLiteral("/Calc"), QStringLiteral("org.kde.DCOP.Calc.add"),
                  QStringLiteral("int32:258"), QStringLiteral("int32:-2")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_calc->lastFun, QCString("add(int,int)"));
    QCOMPARE(m_calc->lastData, QByteArray("\x00\x00\x01\x02\xff\xff\xff\xfe", 8));

    r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"),
              QStringLiteral("echo(QString)"), QStringLiteral("ab")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_calc->lastFun, QCString("echo(QString)"));
    QCOMPARE(m_calc->lastData, QByteArray("\x00\x00\x00\x04\x00"
                                          "a\x00"
                                          "b",
                                          8));
}

void TestDcop::repliesAreConvertedBack()
{
    Run r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("add"),
                  QStringLiteral("40"), QStringLiteral("2")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("42\n"));

    r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("echo"),
              QString::fromUtf8("Grüße, Welt")});
    QCOMPARE(r.out, QString::fromUtf8("Grüße, Welt\n"));

    r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("negate"),
              QStringLiteral("false")});
    QCOMPARE(r.out, QStringLiteral("true\n"));

    r = dbusSend({QStringLiteral("/Calc"), QStringLiteral("org.kde.DCOP.Calc.add"),
                  QStringLiteral("int32:1"), QStringLiteral("int32:2")});
    QVERIFY2(r.out.contains(QStringLiteral("int32 3")), qPrintable(r.out));

    r = dbusSend({QStringLiteral("/Calc"), QStringLiteral("org.kde.DCOP.Calc.functions")});
    QVERIFY2(r.out.contains(QStringLiteral("\"int add(int a, int b)\"")), qPrintable(r.out));
}

void TestDcop::introspectionShowsTypedMethods()
{
    Run r = dbusSend({QStringLiteral("/Calc"),
                      QStringLiteral("org.freedesktop.DBus.Introspectable.Introspect")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains(QStringLiteral("<interface name=\"org.kde.DCOP.Calc\">")),
             qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("<method name=\"add\">")));
    QVERIFY(r.out.contains(QStringLiteral("<arg name=\"a\" type=\"i\" direction=\"in\"/>")));
    QVERIFY(r.out.contains(QStringLiteral("<arg type=\"i\" direction=\"out\"/>")));
    QVERIFY(r.out.contains(QStringLiteral("<arg name=\"text\" type=\"s\" direction=\"in\"/>")));
    QVERIFY(r.out.contains(QStringLiteral("<method name=\"functions\">")));

    // The root lists the object, which is how dcop finds the objects.
    r = dbusSend(
        {QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Introspectable.Introspect")});
    QVERIFY2(r.out.contains(QStringLiteral("<node name=\"Calc\"/>")), qPrintable(r.out));
}

void TestDcop::refusedCallIsAnErrorForBothClients()
{
    Run r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Calc"), QStringLiteral("setPos"),
                  QStringLiteral("-1")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("refused")), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());

    r = dbusSend({QStringLiteral("/Calc"), QStringLiteral("org.kde.DCOP.Calc.setPos"),
                  QStringLiteral("int32:-7")});
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.err.contains(QStringLiteral("org.kde.DCOP.Error.CallFailed")), qPrintable(r.err));

    // A call with the wrong D-Bus types never reaches process().
    m_calc->lastFun.clear();
    r = dbusSend({QStringLiteral("/Calc"), QStringLiteral("org.kde.DCOP.Calc.setPos"),
                  QStringLiteral("string:1")});
    QVERIFY(r.exitCode != 0);
    QVERIFY(m_calc->lastFun.isEmpty());
}

void TestDcop::dcopReportsUnknownNamesAndBadArguments()
{
    const QString app = QStringLiteral("desktoptest");
    const QString obj = QStringLiteral("Calc");
    struct Case
    {
        QStringList args;
        int exitCode;
        QString message;
    };
    const QList<Case> cases{
        {{QStringLiteral("nosuchapp")}, 1, QStringLiteral("no such application")},
        {{app, QStringLiteral("Nobody")}, 1, QStringLiteral("no such object")},
        {{app, obj, QStringLiteral("nothing")}, 1, QStringLiteral("no such function")},
        {{app, obj, QStringLiteral("setPos"), QStringLiteral("five")},
         2,
         QStringLiteral("bad argument 1")},
        {{app, obj, QStringLiteral("setPos"), QStringLiteral("99999999999")},
         2,
         QStringLiteral("bad argument 1")},
        {{app, obj, QStringLiteral("negate"), QStringLiteral("maybe")},
         2,
         QStringLiteral("bad argument 1")},
        {{app, obj, QStringLiteral("add"), QStringLiteral("1")},
         2,
         QStringLiteral("wrong number of arguments")},
        {{QStringLiteral("--bogus")}, 2, QStringLiteral("unknown option")},
    };
    for (const Case& c : cases) {
        const Run r = dcop(c.args);
        QVERIFY2(r.exitCode == c.exitCode,
                 qPrintable(c.args.join(' ') + QLatin1String(": ") + r.err));
        QVERIFY2(r.err.contains(c.message), qPrintable(r.err));
    }
}

void TestDcop::callsRunOneAtATime()
{
    m_calc->log.clear();
    const QStringList args{QStringLiteral("desktoptest"), QStringLiteral("Calc"),
                           QStringLiteral("slow")};
    QProcess first;
    QProcess second;
    // The second call is made while the first one runs its event loop.
    m_calc->onEnter = [&] {
        if (second.state() == QProcess::NotRunning && m_calc->log.size() == 1) {
            second.start(QStringLiteral(DCOP_PROGRAM), args);
        }
    };
    first.start(QStringLiteral(DCOP_PROGRAM), args);
    QTRY_VERIFY_WITH_TIMEOUT(
        first.state() == QProcess::NotRunning && second.state() == QProcess::NotRunning, 20000);
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(m_calc->log, QStringList({QStringLiteral("enter"), QStringLiteral("leave"),
                                       QStringLiteral("enter"), QStringLiteral("leave")}));
    m_calc->onEnter = nullptr;
}

void TestDcop::newestObjectOfAnIdAnswersUntilDestroyed()
{
    const QStringList args{QStringLiteral("desktoptest"), QStringLiteral("Calc"),
                           QStringLiteral("interfaces")};
    {
        struct Newer : Calc
        {
            QCStringList interfaces() override { return Calc::interfaces() << "Newer"; }
        } newer;
        QVERIFY(lines(dcop(args).out).contains(QStringLiteral("Newer")));
        Run temp = dcop({QStringLiteral("desktoptest")});
        QCOMPARE(lines(temp.out), QStringList{QStringLiteral("Calc")});
    }
    QVERIFY(!lines(dcop(args).out).contains(QStringLiteral("Newer")));
    QCOMPARE(dcop(args).exitCode, 0);

    auto* gone = new DCOPObject("Gone");
    QCOMPARE(dcop({QStringLiteral("desktoptest"), QStringLiteral("Gone")}).exitCode, 0);
    delete gone;
    const Run r = dcop({QStringLiteral("desktoptest"), QStringLiteral("Gone")});
    QCOMPARE(r.exitCode, 1);
}

void TestDcop::secondInstanceRegistersWithPid()
{
    QDBusConnection other =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));
    QVERIFY(other.isConnected());
    QVERIFY(other.registerService(QStringLiteral("org.kde.twice")));

    const QCString expected = "twice-" + QCString::number(static_cast<qlonglong>(getpid()));
    QCOMPARE(DCOPClient::mainClient()->registerAs("twice"), expected);
    QCOMPARE(DCOPClient::mainClient()->serviceName(), QString::fromLatin1("org.kde." + expected));
    // dcop finds the instance by its plain name too, and its objects moved along.
    Run r = dcop({QStringLiteral("twice"), QStringLiteral("Calc"), QStringLiteral("add"),
                  QStringLiteral("1"), QStringLiteral("1")});
    QCOMPARE(r.exitCode, 1); // the plain name belongs to the other connection, which has no objects
    r = dcop({QString::fromLatin1(expected), QStringLiteral("Calc"), QStringLiteral("add"),
              QStringLiteral("1"), QStringLiteral("1")});
    QCOMPARE(r.out, QStringLiteral("2\n"));
    QVERIFY(lines(dcop({}).out).contains(QString::fromLatin1(expected)));
    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
}

void TestDcop::applicationIsReachedByTheNameItRegistered_data()
{
    QTest::addColumn<QCString>("appId");
    QTest::addColumn<QString>("service");
    QTest::newRow("hyphen, as lxqt-panel")
        << QCString("lxqt-panel") << QStringLiteral("org.kde.lxqt-panel");
    QTest::newRow("characters bus names lack")
        << QCString("my panel.2") << QStringLiteral("org.kde.my_panel_2");
    QTest::newRow("leading digit") << QCString("3d") << QStringLiteral("org.kde._3d");
}

void TestDcop::applicationIsReachedByTheNameItRegistered()
{
    QFETCH(QCString, appId);
    QFETCH(QString, service);
    QCOMPARE(DCOPClient::mainClient()->registerAs(appId), appId);
    QCOMPARE(DCOPClient::mainClient()->serviceName(), service);
    const QString app = QString::fromLatin1(appId);
    QVERIFY(lines(dcop({}).out).contains(service.mid(int(qstrlen("org.kde.")))));
    const Run r = dcop({app, QStringLiteral("Calc"), QStringLiteral("add"), QStringLiteral("2"),
                        QStringLiteral("3")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(r.out, QStringLiteral("5\n"));
}

QTEST_MAIN(TestDcop)
#include "tst_dcop.moc"
