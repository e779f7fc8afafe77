// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The input/output error of the common routines: raised for every failure to
// open, read, create, write or close a file. The routines never catch it; the
// event handler that started the work reports it to the user.

#include "powerdaemon/fileerror.h"

#include <QByteArray>

#include <stdexcept>

class EInOutError : public std::runtime_error
{
public:
    // action is what failed ("open", "read", "create", "write", "close");
    // errorCode is the errno value the system reported.
    EInOutError(const char* action, const QByteArray& fileName, int errorCode);
    explicit EInOutError(const powerdaemon::FileError& failure);

    QByteArray fileName() const { return m_fileName; }
    int errorCode() const { return m_errorCode; }

private:
    QByteArray m_fileName;
    int m_errorCode;
};
