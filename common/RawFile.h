#pragma once
// Whole-file reads and writes over the system's file calls. Every failure
// raises EInOutError with the file's name and errno.

#include <QByteArray>

// True when the path names an existing entry (symbolic links followed).
bool FileExists(const QByteArray& fileName);

// All bytes of a file.
QByteArray ReadFileBytes(const QByteArray& fileName);

// Creates the file (mode rw-r--r-- less the umask) or truncates it, then
// writes the bytes unchanged.
void WriteFileBytes(const QByteArray& fileName, const QByteArray& bytes);
