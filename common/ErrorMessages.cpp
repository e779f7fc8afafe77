// Messages for the user: the error box and the table of file error texts.
#include "UPMComm.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

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

} // namespace

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
    // Parented to the active window, so that the box stays above a window
    // that is kept on top.
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), message,
                          QMessageBox::Ok);
}
