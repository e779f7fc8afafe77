// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over KConfig (desktop/kconfig): a configuration file read,
// one entry written and synced, and the file read again. The input is
// "GROUP\0KEY\0VALUE\0" followed by the file's bytes.
#include "fuzzcheck.h"
#include "scratchfile.h"

#include "kconfig.h"

#include <QList>

#include <cstddef>
#include <cstdint>

namespace {

using fuzzcheck::require;

struct Write
{
    QString group;
    QString key;
    QString value;
    QByteArray file;
};

Write writeOf(const QByteArray& input)
{
    QList<QByteArray> fields = input.split('\0');
    while (fields.size() < 4) {
        fields.prepend(QByteArray());
    }
    Write write;
    write.group = QString::fromUtf8(fields.takeFirst());
    write.key = QString::fromUtf8(fields.takeFirst());
    write.value = QString::fromUtf8(fields.takeFirst());
    write.file = fields.join('\0');
    return write;
}

// Group and key names as programs use them: a group name on one line, a key
// name without "=", line breaks, blanks at either end, and not one that
// reads as a comment or a group.
bool isUsableGroup(const QString& group)
{
    return !group.contains(QLatin1Char('\n'));
}

bool isUsableKey(const QString& key)
{
    const QByteArray bytes = key.toUtf8();
    return !bytes.isEmpty() && !bytes.contains('=') && !bytes.contains('\n') &&
           bytes.trimmed() == bytes && !bytes.startsWith('#') && !bytes.startsWith('[');
}

// The file's lines as KConfig keeps them.
QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n')) {
        lines.removeLast();
    }
    return lines;
}

// One entry written replaces one line, or adds one, or adds its group at the
// end (a blank line, the header, the entry); every other line keeps its
// bytes and its place.
void checkOtherLinesKept(const QByteArray& before, const QByteArray& after)
{
    require(after.endsWith('\n'), "a written file ends with a line feed");
    const QList<QByteArray> old = linesOf(before);
    const QList<QByteArray> now = linesOf(after);
    qsizetype head = 0;
    while (head < old.size() && head < now.size() && old.at(head) == now.at(head)) {
        ++head;
    }
    qsizetype tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old.at(old.size() - 1 - tail) == now.at(now.size() - 1 - tail)) {
        ++tail;
    }
    require(old.size() - head - tail <= 1, "a write replaces at most one line");
    require(now.size() - head - tail <= 3, "a write adds at most its group and its line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Write write =
        writeOf(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QString path = fuzzcheck::writeScratchFile(QStringLiteral("fuzzrc"), write.file);
    bool changed = false;
    {
        KConfig config(path);
        config.hasGroup(write.group);
        config.setGroup(write.group);
        config.hasKey(write.key);
        config.readBoolEntry(write.key);
        if (!isUsableGroup(write.group) || !isUsableKey(write.key)) {
            return 0;
        }
        config.writeEntry(write.key, write.value);
        require(config.readEntry(write.key) == write.value, "a written entry reads back");
        changed = config.isDirty();
        require(config.sync(), "the scratch file is written");
    }
    const QByteArray written = fuzzcheck::readScratchFile(path);
    if (changed) {
        checkOtherLinesKept(write.file, written);
    } else {
        require(written == write.file, "a value the file holds already leaves it as it is");
    }

    KConfig again(path);
    again.setGroup(write.group);
    require(again.readEntry(write.key) == write.value, "a synced entry reads back from the file");
    again.writeEntry(write.key, write.value);
    require(!again.isDirty(), "writing the value the file holds changes nothing");
    again.writeEntry(write.key, true);
    require(again.readBoolEntry(write.key, false), "a written flag reads back");
    return 0;
}
