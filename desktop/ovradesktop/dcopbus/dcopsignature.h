// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QByteArray>
#include <QList>

/// One entry of a DCOP object's function list, such as "void setPos(int pos)":
/// the reply type, the function name and the parameter types and names.
struct OVRADESKTOP_EXPORT DCOPSignature
{
    bool valid = false;
    QByteArray replyType;
    QByteArray name;
    QList<QByteArray> argTypes;
    QList<QByteArray> argNames;

    /// Parses "REPLYTYPE NAME(TYPE [NAME], ...)"; const, & and default values are dropped.
    static DCOPSignature parse(const QByteArray& entry);
    /// The form a call is matched by: "setPos(int)".
    QByteArray matchForm() const;
};

/// Reduces a C++ parameter or reply type to its DCOP form ("const QString&" -> "QString").
OVRADESKTOP_EXPORT QByteArray normalizedDcopType(const QByteArray& type);
