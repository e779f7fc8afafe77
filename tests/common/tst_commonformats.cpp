// SPDX-License-Identifier: GPL-2.0-or-later
// The file formats over byte buffers: key lines, the key update, number
// conversions and the battery state file.
#include "common/UPMComm.h"
#include "common/batterystatetext.h"
#include "common/keyline.h"
#include "common/schemekeys.h"

#include <QTest>

class TestCommonFormats : public QObject
{
    Q_OBJECT

private slots:
    void parseKeyLine();
    void publishedInterface();
    void readingRules();
    void keyUpdate();
    void handEditedLines_data();
    void handEditedLines();
    void unsafeNames();
    void numbers();
    void batteryLines();
};

void TestCommonFormats::parseKeyLine()
{
    struct Case
    {
        const char *line, *key;
        int mode;
        bool found;
        const char* value;
    };
    // clang-format off
    const Case cases[] = {
        {"AC_SCHEME=\"performance\"",    "AC_SCHEME",      0, true,  "performance"},
        {"AC_SCHEME=\"performance\"",    "BATTERY_SCHEME", 0, false, "unchanged"},
        {"AC_SCHEME=\"\"",               "AC_SCHEME",      0, true,  ""},
        {"AC_SCHEME=",                   "AC_SCHEME",      0, true,  ""},
        {"AC_SCHEME=\"x\" ",             "AC_SCHEME",      0, true,  "x\""},
        {"#AC_SCHEME=\"powersave\"",     "AC_SCHEME",      0, false, "unchanged"},
        {" \t# AC_SCHEME=\"powersave\"", "AC_SCHEME",      0, false, "unchanged"},
        {"AC attached:     Yes",         "AC attached",    1, true,  "Yes"},
        {"Voltage:\t \x01 11.100 V  ",   "Voltage",        1, true,  "11.100 V  "},
        {"AC attached Yes",              "AC attached",    1, false, "unchanged"},
        {"AC attached:",                 "AC attached",    1, true,  ""},
        {"Cycle Count: 37x",             "Cycle Count",    7, true,  "37x"},
    };
    // clang-format on
    for (const Case& c : cases) {
        QByteArray value = "unchanged";
        const bool found = c.mode == 0 ? ParseAssignmentLine(c.line, c.key, value)
                                       : ParseLabelLine(c.line, c.key, value);
        QVERIFY2(found == c.found && value == c.value, c.line);
    }
}

// The published front ends hand each line to the reading of their mode, and
// write the value in double quotes.
void TestCommonFormats::publishedInterface()
{
    QByteArray value;
    QVERIFY(ParseKeyLine("AC_SCHEME=\"performance\"", "AC_SCHEME", value, 0));
    QCOMPARE(value, QByteArray("performance"));
    QVERIFY(!ParseKeyLine("AC_SCHEME: performance", "AC_SCHEME", value, 0));
    for (const int mode : {1, 7}) {
        value = "unchanged";
        QVERIFY(ParseKeyLine("AC attached:   Yes", "AC attached", value, mode));
        QCOMPARE(value, QByteArray("Yes"));
        QVERIFY(!ParseKeyLine("AC_SCHEME=\"x\"", "AC_SCHEME", value, mode));
    }
    QCOMPARE(FormatKeyLine("AC_SCHEME", "performance"), QByteArray("AC_SCHEME=\"performance\""));
    QCOMPARE(FormatKeyLine("K", ""), QByteArray("K=\"\""));
}

void TestCommonFormats::readingRules()
{
    // The last non-empty value wins; an empty one and comments change nothing;
    // a key the text lacks keeps the caller's value.
    QByteArray ac = "before", battery = "before";
    ReadSchemeKeys("AC_SCHEME=\"first\"\n#AC_SCHEME=\"commented\"\r\nAC_SCHEME=\"second\"\n"
                   "AC_SCHEME=\"\"\n  # AC_SCHEME=\"commented\"\nOTHER=\"1\"\n",
                   ac, battery);
    QCOMPARE(ac + '/' + battery, QByteArray("second/before"));
    ReadSchemeKeys("BATTERY_SCHEME=\"powersave\"\r\nBATTERY_SCHEME=\"acoustic\"", ac, battery);
    QCOMPARE(ac + '/' + battery, QByteArray("second/acoustic"));
}

void TestCommonFormats::keyUpdate()
{
    const QByteArray sysconfig = "## Path:\tSystem/Powermanagement/Powersave\n"
                                 "#\n"
                                 "# The scheme used on mains power; see BATTERY_SCHEME too.\n"
                                 "#AC_SCHEME=\"powersave\"\n"
                                 "POWERSAVED_POLLING_INTERVAL=\"2\"\r\n"
                                 "AC_SCHEME=\"performance\"\r\n"
                                 "  # AC_SCHEME=\"acoustic\"\n"
                                 "\n"
                                 "BATTERY_SCHEME=\"powersave\"\n"
                                 "AC_SCHEME = performance # duplicate, other form\n"
                                 "X=\"a\rb\"\n"
                                 "\xff\xfe binary \x01\n"
                                 "LAST=\"no line feed\"";
    QCOMPARE(UpdateSchemeKeysText(sysconfig, "presentation", ""),
             QByteArray("## Path:\tSystem/Powermanagement/Powersave\n"
                        "#\n"
                        "# The scheme used on mains power; see BATTERY_SCHEME too.\n"
                        "#AC_SCHEME=\"powersave\"\n"
                        "POWERSAVED_POLLING_INTERVAL=\"2\"\r\n"
                        "AC_SCHEME=\"presentation\"\n"
                        "  # AC_SCHEME=\"acoustic\"\n"
                        "\n"
                        "BATTERY_SCHEME=\"\"\n"
                        "AC_SCHEME = performance # duplicate, other form\n"
                        "X=\"a\rb\"\n"
                        "\xff\xfe binary \x01\n"
                        "LAST=\"no line feed\""));
    // A missing key is not added; an empty text stays empty.
    QCOMPARE(UpdateSchemeKeysText("AC_SCHEME=\"a\"\n\r\n", "b", "c"),
             QByteArray("AC_SCHEME=\"b\"\n\r\n"));
    QCOMPARE(UpdateSchemeKeysText("", "b", "c"), QByteArray(""));
}

void TestCommonFormats::handEditedLines_data()
{
    // Set AC_SCHEME to "acoustic", or BATTERY_SCHEME to "quiet" where the
    // line names it: only the value word changes.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("read");    // what ReadSchemeKeys gives, "-" for nothing
    QTest::addColumn<QByteArray>("written"); // the line after the update
    const auto row = [](const char* name, const char* line, const char* read, const char* written) {
        QTest::newRow(name) << QByteArray(line) << QByteArray(read) << QByteArray(written);
    };
    row("trailing comment", "BATTERY_SCHEME=\"powersave\" # quiet on battery", "powersave",
        "BATTERY_SCHEME=\"quiet\" # quiet on battery");
    row("blanks after the quote", "BATTERY_SCHEME=\"powersave\"  ", "powersave",
        "BATTERY_SCHEME=\"quiet\"  ");
    row("unquoted", "AC_SCHEME=performance", "performance", "AC_SCHEME=\"acoustic\"");
    row("export", "export AC_SCHEME=\"performance\"", "performance",
        "export AC_SCHEME=\"acoustic\"");
    row("blanks and export", "  export\tAC_SCHEME='perf ormance'\t# x", "perf ormance",
        "  export\tAC_SCHEME=\"acoustic\"\t# x");
    row("mixed quoting", "AC_SCHEME=per\"form\"'ance'\\!;OTHER=1", "performance!",
        "AC_SCHEME=\"acoustic\";OTHER=1");
    row("hash inside the word", "AC_SCHEME=\"a\"#b", "a#b", "AC_SCHEME=\"acoustic\"");
    row("same value kept", "AC_SCHEME=acoustic  # as it was", "acoustic",
        "AC_SCHEME=acoustic  # as it was");
    row("carriage return", "AC_SCHEME=\"performance\"\r", "performance", "AC_SCHEME=\"acoustic\"");
    row("carriage return, same value", "AC_SCHEME=\"acoustic\"\r", "acoustic",
        "AC_SCHEME=\"acoustic\"");
    row("carriage return in a comment", "AC_SCHEME=\"acoustic\" #\r", "acoustic",
        "AC_SCHEME=\"acoustic\" #\r");
    row("expansion", "AC_SCHEME=\"$(touch pwned)\"", "-", "AC_SCHEME=\"acoustic\"");
    row("other key before", "OLD_AC_SCHEME=\"legacy\"", "-", "OLD_AC_SCHEME=\"legacy\"");
    row("key as a prefix", "AC_SCHEMES=\"a b\"", "-", "AC_SCHEMES=\"a b\"");
    row("key inside a name", "MY_BATTERY_SCHEME=x", "-", "MY_BATTERY_SCHEME=x");
    row("blank before =", "AC_SCHEME =x", "-", "AC_SCHEME =x");
    row("comment", "# AC_SCHEME=\"x\"", "-", "# AC_SCHEME=\"x\"");
    row("command after", "AC_SCHEME=x true", "-", "AC_SCHEME=x true");
    row("open quote", "AC_SCHEME=\"x", "-", "AC_SCHEME=\"x");
    row("continued line", "AC_SCHEME=x\\", "-", "AC_SCHEME=x\\");
}

void TestCommonFormats::handEditedLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, written);
    const bool battery = line.contains("BATTERY");
    // Between two other lines, with CRLF ends that must stay.
    const QByteArray text = "A=1\r\n" + line + "\nB=\"2\" # \r\n";
    QByteArray ac = "-", bat = "-";
    ReadSchemeKeys(text, ac, bat);
    QCOMPARE(battery ? bat : ac, read);
    const QByteArray updated = battery ? UpdateSchemeKeysText(text, std::nullopt, "quiet")
                                       : UpdateSchemeKeysText(text, "acoustic", std::nullopt);
    QCOMPARE(updated, "A=1\r\n" + written + "\nB=\"2\" # \r\n");
}

void TestCommonFormats::unsafeNames()
{
    // Names that would not read back from double quotes, or would run
    // something when the daemon sources the file, are refused.
    for (const char* name : {"$(touch pwned)", "a\"b", "`id`", "a\\b", "two\nlines", "cr\r"}) {
        QVERIFY_THROWS_EXCEPTION(UnsafeSchemeName,
                                 UpdateSchemeKeysText("AC_SCHEME=\"x\"\n", name, std::nullopt));
        QVERIFY_THROWS_EXCEPTION(UnsafeSchemeName, UpdateSchemeKeysText("", std::nullopt, name));
    }
    // A key left alone is never looked at, whatever the file holds.
    QCOMPARE(UpdateSchemeKeysText("AC_SCHEME=\"$(x)\"\nBATTERY_SCHEME=a\n", std::nullopt, "b"),
             QByteArray("AC_SCHEME=\"$(x)\"\nBATTERY_SCHEME=\"b\"\n"));
}

void TestCommonFormats::numbers()
{
    const QList<QPair<QByteArray, qint32>> ints = {
        {"", -1},           {"42", 42},
        {"  -7", -7},       {"+5", 5},
        {"42 ", -2},        {"4x", -2},
        {"-", -2},          {"\t1", -2},
        {"0x1A", -2},       {"2147483647", 2147483647},
        {"2147483648", -2}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, number] : ints) {
        QVERIFY2(StrToIntSafe(text) == number, text.constData());
    }
    const QList<QPair<QByteArray, double>> floats = {
        {"", -1.0},    {"4400", 4400.0}, {" 1.5", 1.5}, {"-.5", -0.5}, {"1e3", 1000.0},
        {"abc", -2.0}, {"1.5x", -2.0},   {".", -2.0},   {"inf", -2.0}, {"1e999", -2.0}};
    for (const auto& [text, number] : floats) {
        QVERIFY2(StrToFloatSafe(text) == number, text.constData());
    }
    // The last blank decides; without a blank nothing changes.
    qint32 minutes = 7;
    QByteArray unit = "kept";
    SplitIntUnit("95", minutes, unit);
    QCOMPARE(QByteArray::number(minutes) + unit, QByteArray("7kept"));
    SplitIntUnit("95 mins", minutes, unit);
    QCOMPARE(QByteArray::number(minutes) + unit, QByteArray("95mins"));
    SplitIntUnit("1 2 mWh", minutes, unit);
    QCOMPARE(minutes, -2);
    double capacity = 0;
    SplitFloatUnit("2200.5 mWh", capacity, unit);
    QCOMPARE(capacity, 2200.5);
}

void TestCommonFormats::batteryLines()
{
    struct Case
    {
        const char* text;
        int acState, remainingTime, charge;
    };
    // Fields before the read: time to full 3, time to empty 4, charge 5.
    // clang-format off
    const Case cases[] = {
        {"AC attached: Yes\nAverageTimeToFull: 12 mins\nAverageTimeToEmpty: 95 mins", 0, 12, 5},
        {"AC attached:Yes",                                    0, 3, 5},
        {"AC attached: Yes\r\nRelativeStateofCharge: 87%\r\n", 0, 3, 87},
        {"AC attached: No\nAverageTimeToEmpty: 95 mins",       1, 95, 5},
        {"AC attached: yes",                                   1, 4, 5},
        {"AC attached: Yes ",                                  1, 4, 5},
        {" AC attached: Yes",                                  1, 4, 5},
        {"AC attached: No\nAC attached: Yes",                  0, 3, 5},
        {"AC attached: No\nAverageTimeToEmpty: 95",            1, 4, 5},
        {"RelativeStateofCharge: 87 %",                        1, 4, -2},
        {"RelativeStateofCharge:",                             1, 4, -1},
        {":RelativeStateofCharge: 87%",                        1, 4, -2},
        {"Manufacturer: Nexalt\n\n:::\n",                      1, 4, 5},
    };
    // clang-format on
    for (const Case& c : cases) {
        RBatState rec;
        rec.AverageTimeToFull = 3;
        rec.AverageTimeToEmpty = 4;
        rec.RelativeStateOfCharge = 5;
        ParseBatState(c.text, rec);
        QVERIFY2(rec.ACState == c.acState && rec.RemainingTime == c.remainingTime &&
                     rec.RelativeStateOfCharge == c.charge,
                 c.text);
    }
}

QTEST_GUILESS_MAIN(TestCommonFormats)
#include "tst_commonformats.moc"
