// SPDX-License-Identifier: GPL-2.0-or-later
// Replacing a file as an editor does: the new file keeps the old one's
// extended attributes and ACL or the old file stays; a text the process may
// not write whole fails before anything is made; the temporary files a
// killed writer left are recognised for sure, and nothing else is removed.
#include "laptopfixture.h"

#include "powerdaemon/replacefile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstdint>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QByteArray folder = "/tmp/replaced/";
const QByteArray file = folder + "common";

std::string text(const QByteArray& bytes)
{
    return bytes.toStdString();
}

// One attribute's value, or nullopt when the file has none by that name.
std::optional<QByteArray> attribute(const QByteArray& path, const char* name)
{
    char value[4096];
    const ssize_t size = ::getxattr(path.constData(), name, value, sizeof value);
    if (size < 0) {
        return std::nullopt;
    }
    return QByteArray(value, qsizetype(size));
}

bool setAttribute(const QByteArray& path, const char* name, const QByteArray& value)
{
    return ::setxattr(path.constData(), name, value.constData(), std::size_t(value.size()), 0) == 0;
}

// A POSIX ACL as the kernel keeps it in system.posix_acl_access: owner rw,
// user 65534 r, group r, mask r, others nothing.
QByteArray aclGivingNobodyRead()
{
    QByteArray acl;
    const auto add32 = [&acl](std::uint32_t value) {
        acl.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    const auto entry = [&](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        acl.append(reinterpret_cast<const char*>(&tag), sizeof tag);
        acl.append(reinterpret_cast<const char*>(&perm), sizeof perm);
        add32(id);
    };
    constexpr std::uint32_t NoId = 0xffffffff;
    add32(2);              // the format's version
    entry(0x01, 6, NoId);  // ACL_USER_OBJ rw
    entry(0x02, 4, 65534); // ACL_USER nobody r
    entry(0x04, 4, NoId);  // ACL_GROUP_OBJ r
    entry(0x10, 4, NoId);  // ACL_MASK r
    entry(0x20, 0, NoId);  // ACL_OTHER none
    return acl;
}

QStringList entries()
{
    return QDir(QString::fromLatin1(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestReplaceFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }
    void init()
    {
        QDir(QString::fromLatin1(folder)).removeRecursively();
        QVERIFY(QDir().mkpath(QString::fromLatin1(folder)));
        laptop::writeFile(QString::fromLatin1(file), "AC_SCHEME=\"performance\"\n");
        QVERIFY(::chmod(file.constData(), 0640) == 0);
    }

    // The ACL and every other attribute come over to the new file; so do
    // the mode and the content, of course.
    void attributesKept()
    {
        const QByteArray acl = aclGivingNobodyRead();
        QVERIFY(setAttribute(file, "system.posix_acl_access", acl));
        QVERIFY(setAttribute(file, "user.origin", "the administrator"));
        QVERIFY(setAttribute(file, "user.binary", QByteArray("\0\1\xff", 3)));
        struct stat old;
        QVERIFY(::stat(file.constData(), &old) == 0);

        QCOMPARE(powerdaemon::replaceFileContents(text(file), "AC_SCHEME=\"powersave\"\n"),
                 std::nullopt);

        struct stat now;
        QVERIFY(::stat(file.constData(), &now) == 0);
        QVERIFY(now.st_ino != old.st_ino); // a new file, renamed over the old one
        QCOMPARE(laptop::readFile(QString::fromLatin1(file)),
                 QByteArray("AC_SCHEME=\"powersave\"\n"));
        QCOMPARE(now.st_mode, old.st_mode);
        QCOMPARE(attribute(file, "system.posix_acl_access"), std::optional<QByteArray>(acl));
        QCOMPARE(attribute(file, "user.origin"), std::optional<QByteArray>("the administrator"));
        QCOMPARE(attribute(file, "user.binary"),
                 std::optional<QByteArray>(QByteArray("\0\1\xff", 3)));
        QCOMPARE(entries(), QStringList{QStringLiteral("common")});
    }

    // A folder whose default ACL new files inherit: the file had no ACL, so
    // the new one has none either, and exactly the old mode.
    void noAclInherited()
    {
        QVERIFY(setAttribute(folder, "system.posix_acl_default", aclGivingNobodyRead()));
        QCOMPARE(powerdaemon::replaceFileContents(text(file), "AC_SCHEME=\"powersave\"\n"),
                 std::nullopt);
        QCOMPARE(attribute(file, "system.posix_acl_access"), std::nullopt);
        struct stat now;
        QVERIFY(::stat(file.constData(), &now) == 0);
        QCOMPARE(now.st_mode & 07777, mode_t(0640));
    }

    // An attribute that the writer may not set (a file capability, for a
    // user who is not root): the write is refused and says why; the old
    // file stays with its attribute, and no temporary file is left.
    void attributeThatCannotBeKept()
    {
        if (::chown(folder.constData(), 65534, 65534) != 0 ||
            ::chown(file.constData(), 65534, 65534) != 0) {
            QSKIP("user 65534 does not exist in this user namespace");
        }
        // A version 2 file capability granting nothing.
        const QByteArray capability(20, '\0');
        QByteArray header = capability;
        header[3] = 0x02;
        QVERIFY(setAttribute(file, "security.capability", header));

        int pipeEnds[2];
        QVERIFY(::pipe(pipeEnds) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeEnds[0]);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
                ::_exit(77); // no such user in this user namespace
            }
            const auto error = powerdaemon::replaceFileContents(text(file), "changed\n");
            const std::string said = error ? error->message() : std::string();
            [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], said.data(), said.size());
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        QByteArray said;
        char chunk[512];
        for (ssize_t got; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
            said.append(chunk, qsizetype(got));
        }
        ::close(pipeEnds[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
            QSKIP("user 65534 does not exist here");
        }
        QCOMPARE(said, QByteArray("Could not keep the extended attribute security.capability of "
                                  "file /tmp/replaced/common: Operation not permitted"));
        QCOMPARE(laptop::readFile(QString::fromLatin1(file)),
                 QByteArray("AC_SCHEME=\"performance\"\n"));
        QCOMPARE(attribute(file, "security.capability"), std::optional<QByteArray>(header));
        QCOMPARE(entries(), QStringList{QStringLiteral("common")});
    }

    // A file size limit smaller than the text: refused before anything is
    // made, rather than the process killed by SIGXFSZ half way.
    void fileSizeLimit()
    {
        rlimit size{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &size) == 0);
        const rlimit small{10, size.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        const auto error =
            powerdaemon::replaceFileContents(text(file), "AC_SCHEME=\"powersave\"\n");
        ::setrlimit(RLIMIT_FSIZE, &size);
        QVERIFY(error);
        QCOMPARE(error->message(),
                 std::string("Could not write file /tmp/replaced/common: File too large"));
        QCOMPARE(laptop::readFile(QString::fromLatin1(file)),
                 QByteArray("AC_SCHEME=\"performance\"\n"));
        QCOMPARE(entries(), QStringList{QStringLiteral("common")});
    }

    // Only what a killed replacement of this file left goes: a plain file
    // of this user, named as the replacement names its temporary files.
    void leftTemporariesRemoved()
    {
        const QStringList left{QStringLiteral(".common.ovra-new.Ab3xY9"),
                               QStringLiteral(".common.ovra-new.000000")};
        const QStringList kept{
            QStringLiteral(".common.ovra-new.Ab3x"),     // too short
            QStringLiteral(".common.ovra-new.Ab3xY9.1"), // too long
            QStringLiteral(".common.ovra-new.Ab-xY9"),   // not mkstemp's letters
            QStringLiteral(".common.Ab3xY9"),            // another program's
            QStringLiteral(".other.ovra-new.Ab3xY9"),    // another file's
            QStringLiteral("common.ovra-new.Ab3xY9"),
            QStringLiteral("common"),
        };
        for (const QString& name : left + kept) {
            if (name != QStringLiteral("common")) {
                laptop::writeFile(QString::fromLatin1(folder) + name, "x");
            }
        }
        // Named as ours but not ours to remove: a link (to a file that
        // stays), a folder, another user's file.
        laptop::writeFile(QStringLiteral("/tmp/linked"), "x");
        QVERIFY(::symlink("/tmp/linked", (folder + ".common.ovra-new.Link01").constData()) == 0);
        QVERIFY(QDir().mkdir(QString::fromLatin1(folder + ".common.ovra-new.Fold01")));
        QStringList expected = kept + QStringList{QStringLiteral(".common.ovra-new.Link01"),
                                                  QStringLiteral(".common.ovra-new.Fold01")};
        laptop::writeFile(QString::fromLatin1(folder + ".common.ovra-new.Nobody"), "x");
        // User 65534 exists outside a user namespace only.
        if (::chown((folder + ".common.ovra-new.Nobody").constData(), 65534, 65534) == 0) {
            expected << QStringLiteral(".common.ovra-new.Nobody");
        }

        powerdaemon::removeLeftTemporaries(text(file));

        expected.sort();
        QCOMPARE(entries(), expected);
        QVERIFY(QFile::exists(QStringLiteral("/tmp/linked")));
    }
};

QTEST_GUILESS_MAIN(TestReplaceFile)
#include "tst_replacefile.moc"
