// SPDX-License-Identifier: GPL-2.0-or-later
// Messages for the user: the table of file error texts and the presenter
// that shows them.
#include "UPMComm.h"

#include <QFile>

#include <cstdio>
#include <utility>

namespace {

// Texts by code, as the user sees them followed by the file name.
const char* fileErrorText(int code)
{
    switch (code) {
    case 1:
        return "Cound not find file: ";
    case 2:
        return "Cound not delete file: ";
    case 3:
        return "Cound not rename file: ";
    case 4:
        return "Scheme name exists : ";
    case 5:
        return "cound not create file: ";
    default:
        return nullptr;
    }
}

void writeToStandardError(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

ErrorPresenter& installedPresenter()
{
    static ErrorPresenter presenter = writeToStandardError;
    return presenter;
}

} // namespace

ErrorPresenter SetErrorPresenter(ErrorPresenter presenter)
{
    if (!presenter) {
        presenter = writeToStandardError;
    }
    return std::exchange(installedPresenter(), std::move(presenter));
}

void ShowFileError(const QByteArray& message, const QByteArray& fileName, int code)
{
    if (fileName.isEmpty()) {
        ShowErrorBox(QString::fromLocal8Bit(message));
        return;
    }
    if (const char* text = fileErrorText(code)) {
        ShowErrorBox(QString::fromLatin1(text) + QFile::decodeName(fileName));
    }
}

void ShowErrorBox(const QString& message)
{
    installedPresenter()(message);
}
