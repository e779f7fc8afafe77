// SPDX-License-Identifier: GPL-2.0-or-later
// DCOP values decoded from their QDataStream form: lists arrive whole, and a
// list whose count the bytes cannot hold is refused before room is made for
// it: read as QDataStream reads a list, 2^26 counted strings would map 1.5
// GiB first (or, where that fails, throw in Qt 5 and end the panel).

#include <dcoptypes.h>

#include <QDataStream>
#include <QFile>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QByteArray& type, const QVariant& value)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    if (!DCOPTypes::encode(type, value, out)) {
        qFatal("cannot encode a %s", type.constData());
    }
    return bytes;
}

// The most address space the process ever had mapped (VmPeak), in bytes.
qint64 peakMapped()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmPeak:")) {
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return -1;
}

struct Decoding
{
    bool finished = false; // the child came back; it did not crash or throw
    bool decoded = false;
    qint64 mapped = 0; // how far decoding raised the peak of mapped memory
};

// Decodes in a child process, whose peak of mapped memory starts where its
// mapped memory is: what decoding maps at its peak shows even after it has
// been freed.
Decoding decodeInChild(const QByteArray& type, const QByteArray& bytes)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        qFatal("no pipe");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        Decoding result;
        const qint64 before = peakMapped();
        QDataStream in(bytes);
        QVariant value;
        result.decoded = DCOPTypes::decode(type, in, value);
        result.mapped = peakMapped() - before;
        result.finished = before >= 0;
        const bool written = ::write(channel[1], &result, sizeof result) == sizeof result;
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    Decoding result;
    if (::read(channel[0], &result, sizeof result) != sizeof result) {
        result = Decoding();
    }
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

} // namespace

class TestDcopTypes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsArriveWhole_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QVariant>("value");
        const QStringList words{QStringLiteral("a"), QString(), QStringLiteral("drei")};
        QTest::newRow("QStringList") << QByteArray("QStringList") << QVariant(words);
        QTest::newRow("QCStringList")
            << QByteArray("QCStringList")
            << QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b")});
        QTest::newRow("QValueList<int>")
            << QByteArray("QValueList<int>") << QVariant::fromValue(QList<int>{1, -2, 3});
    }
    void listsArriveWhole()
    {
        QFETCH(QByteArray, type);
        QFETCH(QVariant, value);
        QDataStream in(encoded(type, value));
        QVariant decoded;
        QVERIFY(DCOPTypes::decode(type, in, decoded));
        QCOMPARE(DCOPTypes::toText(decoded), DCOPTypes::toText(value));
    }

    void countsBeyondTheBytesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("bytes");
        for (const char* type : {"QStringList", "QCStringList", "QValueList<int>"}) {
            QTest::newRow(type) << QByteArray(type) << QByteArray("\x04\x00\x00\x00", 4);
            QTest::newRow((type + QByteArrayLiteral(", two counted, one there")).constData())
                << QByteArray(type) << QByteArray("\x00\x00\x00\x02\x00\x00\x00\x00", 8);
        }
    }
    void countsBeyondTheBytesAreRefused()
    {
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, bytes);
        const Decoding decoding = decodeInChild(type, bytes);
        QVERIFY2(decoding.finished, "decoding crashed");
        QVERIFY(!decoding.decoded);
        QVERIFY2(decoding.mapped < (qint64(64) << 20),
                 qPrintable(QStringLiteral("%1 MiB mapped").arg(decoding.mapped >> 20)));
    }
};

QTEST_GUILESS_MAIN(TestDcopTypes)
#include "tst_dcoptypes.moc"
