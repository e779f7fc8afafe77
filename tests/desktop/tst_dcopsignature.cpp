// SPDX-License-Identifier: GPL-2.0-or-later
// DCOP function list entries: the reply type, the name, and each
// parameter's type apart from its name, also for qualified types.

#include <dcopsignature.h>

#include <QTest>

class TestDcopSignature : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void separatesTypesFromNames_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QByteArray>("matchForm");
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::newRow("named") << QByteArray("void setPos(int pos)") << QByteArray("setPos(int)")
                               << QList<QByteArray>{"pos"};
        QTest::newRow("reference and pointer without blanks")
            << QByteArray("bool f(const QString&text, QCString*name)")
            << QByteArray("f(QString,QCString*)") << QList<QByteArray>{"text", "name"};
        QTest::newRow("qualified type without a name")
            << QByteArray("void openURLs(KURL::List)") << QByteArray("openURLs(KURL::List)")
            << QList<QByteArray>{""};
        QTest::newRow("qualified type with a name")
            << QByteArray("void openURLs(const KURL::List& urls)")
            << QByteArray("openURLs(KURL::List)") << QList<QByteArray>{"urls"};
        QTest::newRow("built-in words")
            << QByteArray("ASYNC f(unsigned long int, long long n = 5)")
            << QByteArray("f(unsigned long int,long long)") << QList<QByteArray>{"", "n"};
    }
    void separatesTypesFromNames()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, matchForm);
        QFETCH(QList<QByteArray>, names);
        const DCOPSignature sig = DCOPSignature::parse(entry);
        QVERIFY(sig.valid);
        QCOMPARE(sig.matchForm(), matchForm);
        QCOMPARE(sig.argNames, names);
        // The dcop command finds the function by that form.
        QCOMPARE(DCOPSignature::parse("void " + matchForm).matchForm(), matchForm);
    }

    void normalFormIsItsOwn()
    {
        for (const QByteArray type :
             {"const QString&", "const const QCString &", "QMap< int , int >"}) {
            const QByteArray normal = normalizedDcopType(type);
            QCOMPARE(normalizedDcopType(normal), normal);
        }
        QCOMPARE(normalizedDcopType("const const QCString &"), QByteArray("QCString"));
    }
};

QTEST_GUILESS_MAIN(TestDcopSignature)
#include "tst_dcopsignature.moc"
