// SPDX-License-Identifier: GPL-2.0-or-later
// The applet's number conversions (batteries/numbertext.h) read every text
// as Qt's QByteArray::toInt (base 10) and toFloat do, which the applet
// called before they were written in standard C++: on chosen texts and on
// generated ones, numbers and near misses alike.

#include "batteries/numbertext.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// What Qt reads, as Qt 6 does: Qt 5 reads a number beyond the double range
// as infinite, Qt 6 as no number.
float qtFloatOf(const QByteArray& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok && std::isinf(value)) {
        return 0;
    }
    return text.toFloat();
}

bool sameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

void compareWithQt(const QByteArray& text)
{
    const std::string_view view(text.constData(), std::size_t(text.size()));
    QVERIFY2(batteries::qtInt(view) == text.toInt(nullptr, 10), text.toPercentEncoding());
    QVERIFY2(sameFloat(batteries::qtFloat(view), qtFloatOf(text)), text.toPercentEncoding());
}

// Random bytes of the kind numbers are made of.
QByteArray scrambled(QRandomGenerator& random)
{
    static const char bytes[] = "0123456789+-.eE \tinfaINF\nx,";
    QByteArray text;
    for (int n = random.bounded(10); n > 0; --n) {
        text += bytes[random.bounded(int(sizeof bytes) - 1)];
    }
    return text;
}

// A number the way a file writes one, now and then with a flaw.
QByteArray number(QRandomGenerator& random)
{
    QByteArray text = random.bounded(4) == 0 ? QByteArray(" ") : QByteArray();
    text += QByteArray("+- ").mid(random.bounded(4), 1);
    text += QByteArray::number(random.bounded(100000000));
    if (random.bounded(2) == 0) {
        text += '.' + QByteArray::number(random.bounded(1000));
    }
    if (random.bounded(3) == 0) {
        text += "e" + QByteArray("+-").mid(random.bounded(3), 1) +
                QByteArray::number(random.bounded(60));
    }
    if (random.bounded(5) == 0) {
        text += QByteArray(" x\0\t", 4).mid(random.bounded(4), 1);
    }
    return text;
}

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chosenTexts()
    {
        // clang-format off
        const char* const texts[] = {
            "12", "+12", "-12", "+-1", "- 1", "1 2", " 12 ", "0x1A", "007", "",
            "2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999999999999",
            "1.5", ".5", "5.", "+.5", ".", "1e", "1e+", "1e-5", "1E5", "1,5", "1.5f",
            "1e39", "-1e39", "1e400", "1e-50", "1e-310", "1e-45", "1e-46", "3.4028235e38",
            "inf", "+inf", "-inf", "INF", "infinity", "nan", "NaN", "-nan", "3828.5", "4400"};
        // clang-format on
        for (const char* text : texts) {
            compareWithQt(text);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        // Qt reads an int up to a NUL byte, a float not.
        for (const QByteArray& text : {QByteArray("12\0xy", 5), QByteArray("12 \0x", 5),
                                       QByteArray("1.5\0", 4), QByteArray("\0001", 2)}) {
            compareWithQt(text);
        }
        // Beyond the double range is no number, whatever Qt 5 said.
        QCOMPARE(batteries::qtFloat("1e400"), 0.0f);
    }

    void generatedTexts()
    {
        QRandomGenerator random(2909);
        for (int i = 0; i < 20000; ++i) {
            compareWithQt(i % 2 == 0 ? scrambled(random) : number(random));
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
