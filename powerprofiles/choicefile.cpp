// SPDX-License-Identifier: GPL-2.0-or-later
#include "choicefile.h"

#include "powerdaemon/boundedread.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/replacefile.h"
#include "powerdaemon/schemerules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace powerprofiles {

namespace {

constexpr char FileName[] = "ovra/schemes";
// Two keys and their comments: anything larger is not such a file.
constexpr std::size_t ChoiceFileLimit = 64 * 1024;

// A folder variable's value, or its default when unset or empty. Relative
// paths are not taken: they would depend on where the program was started.
QStringList folders(const char* variable, const QString& fallback)
{
    const QString value = QFile::decodeName(qgetenv(variable));
    QStringList result;
    for (const QString& folder : value.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder)) {
            result.append(folder);
        }
    }
    return result.isEmpty() ? QStringList{fallback} : result;
}

QString inFolder(const QString& folder)
{
    return folder + QLatin1Char('/') + QLatin1String(FileName);
}

// What the first file naming key gives it; empty when none does. Read as
// the applet reads the daemon's file: the value bash is left with.
QByteArray firstValue(const QList<std::string>& texts, const char* key)
{
    for (const std::string& text : texts) {
        const std::string value = powerdaemon::readSchemeKey(powerdaemon::Rules::Applet, text, key);
        if (!value.empty()) {
            return QByteArray::fromStdString(value);
        }
    }
    return {};
}

} // namespace

QString userChoiceFile()
{
    return inFolder(
        folders("XDG_CONFIG_HOME", QDir::homePath() + QLatin1String("/.config")).first());
}

QStringList systemChoiceFiles()
{
    QStringList files;
    for (const QString& folder : folders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"))) {
        files.append(inFolder(folder));
    }
    return files;
}

Choices readChoices(const QString& userFile, const QStringList& systemFiles)
{
    QList<std::string> texts;
    for (const QString& file : QStringList{userFile} + systemFiles) {
        powerdaemon::FileError failure;
        if (auto text = powerdaemon::readRegularFile(QFile::encodeName(file).toStdString(),
                                                     ChoiceFileLimit, failure)) {
            texts.append(std::move(*text));
        }
    }
    return {firstValue(texts, powerdaemon::AcSchemeKey),
            firstValue(texts, powerdaemon::BatterySchemeKey)};
}

Choices readChoices()
{
    return readChoices(userChoiceFile(), systemChoiceFiles());
}

std::string withChoice(std::string_view text, std::string_view key, std::string_view value)
{
    if (!powerdaemon::keyValues(text, key).empty()) {
        return powerdaemon::setKeyValue(text, key, value);
    }
    // No line of key: one more at the end, after a line end of its own.
    std::string result(text);
    if (!result.empty() && result.back() != '\n') {
        result += '\n';
    }
    return result + std::string(key) + "=\"" + std::string(value) + "\"\n";
}

std::optional<powerdaemon::FileError> saveChoice(const QString& file, std::string_view key,
                                                 std::string_view value)
{
    const std::string path = QFile::encodeName(file).toStdString();
    if (!powerdaemon::isSafeSchemeName(value) || value.empty()) {
        return powerdaemon::FileError{"write", path, EINVAL};
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) {
            return powerdaemon::FileError{"create", QFile::encodeName(folder).toStdString(),
                                          EACCES};
        }
        // Private, as the XDG folders are made.
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    powerdaemon::FileError failure;
    std::string text;
    if (auto old = powerdaemon::readRegularFile(path, ChoiceFileLimit, failure)) {
        text = std::move(*old);
    } else if (failure.code != ENOENT) {
        return failure;
    } else {
        text = "# The power profile chosen for mains and for battery power.\n";
    }
    return powerdaemon::replaceFileContents(path, withChoice(text, key, value));
}

} // namespace powerprofiles
