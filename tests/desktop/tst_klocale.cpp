// SPDX-License-Identifier: GPL-2.0-or-later
#include <kglobal.h>
#include <klocale.h>

#include <QTest>

#include <libintl.h>

// Runs with LANGUAGE=de and OVRA_LOCALEDIR pointing at the test catalogues.
class TestKLocale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void insertedCatalogueServesPlainGettext();
    void laterCatalogueWinsUntilRemoved();
    void removingUnknownCatalogueChangesNothing();
};

namespace {

QString plainGettext(const char* text)
{
    return QString::fromUtf8(gettext(text));
}

} // namespace

void TestKLocale::insertedCatalogueServesPlainGettext()
{
    KLocale* locale = KGlobal::locale();
    QCOMPARE(locale, KGlobal::locale());
    QCOMPARE(plainGettext("Hello"), QStringLiteral("Hello"));

    locale->insertCatalogue(QStringLiteral("ovradesktoptest"));
    QCOMPARE(locale->catalogues(), QStringList{QStringLiteral("ovradesktoptest")});
    // UTF-8, whatever the locale's own character set.
    QCOMPARE(plainGettext("Hello"), QString::fromUtf8("Grüß dich"));
    QCOMPARE(plainGettext("&Quit"), QStringLiteral("&Beenden"));
    QCOMPARE(plainGettext("not in the catalogue"), QStringLiteral("not in the catalogue"));
    QCOMPARE(locale->translate("Test Applet"), QStringLiteral("Testapplet"));

    locale->removeCatalogue(QStringLiteral("ovradesktoptest"));
    QVERIFY(locale->catalogues().isEmpty());
    QCOMPARE(plainGettext("Hello"), QStringLiteral("Hello"));
    QCOMPARE(locale->translate("Hello"), QStringLiteral("Hello"));
}

void TestKLocale::laterCatalogueWinsUntilRemoved()
{
    KLocale* locale = KGlobal::locale();
    locale->insertCatalogue(QStringLiteral("ovradesktoptest"));
    locale->insertCatalogue(QStringLiteral("ovradesktopother"));
    QCOMPARE(plainGettext("Hello"), QStringLiteral("Hallo aus dem zweiten Katalog"));
    // Each catalogue keeps its own texts, in UTF-8, through its own domain.
    QCOMPARE(QString::fromUtf8(dgettext("ovradesktoptest", "Hello")),
             QString::fromUtf8("Grüß dich"));
    QCOMPARE(QString::fromUtf8(dgettext("ovradesktopother", "Hello")),
             QStringLiteral("Hallo aus dem zweiten Katalog"));
    // Texts only the first has are still found through translate().
    QCOMPARE(locale->translate("&Quit"), QStringLiteral("&Beenden"));

    locale->removeCatalogue(QStringLiteral("ovradesktopother"));
    QCOMPARE(plainGettext("Hello"), QString::fromUtf8("Grüß dich"));
    locale->removeCatalogue(QStringLiteral("ovradesktoptest"));
    QCOMPARE(plainGettext("Hello"), QStringLiteral("Hello"));
}

void TestKLocale::removingUnknownCatalogueChangesNothing()
{
    KLocale* locale = KGlobal::locale();
    locale->insertCatalogue(QStringLiteral("ovradesktoptest"));
    locale->removeCatalogue(QStringLiteral("neverinserted"));
    QCOMPARE(plainGettext("Hello"), QString::fromUtf8("Grüß dich"));
    // Inserting again does not stack a second copy: one removal is enough.
    locale->insertCatalogue(QStringLiteral("ovradesktoptest"));
    locale->removeCatalogue(QStringLiteral("ovradesktoptest"));
    QCOMPARE(plainGettext("Hello"), QStringLiteral("Hello"));
}

QTEST_GUILESS_MAIN(TestKLocale)
#include "tst_klocale.moc"
