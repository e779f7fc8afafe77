// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ovradesktop_export.h"

#include <QByteArray>
#include <QList>

typedef QByteArray QCString;
typedef QList<QByteArray> QCStringList;

/// An object that answers remote calls. It registers with the process's DCOP
/// client under its object id (the D-Bus object "/OBJID" with the interface
/// "org.kde.DCOP.OBJID" of the service "org.kde.APPNAME") and unregisters when
/// destroyed. Calls arrive on the GUI thread, one at a time, as a signature
/// such as "setPos(int)" with their arguments in QDataStream (big-endian) form.
class OVRADESKTOP_EXPORT DCOPObject
{
public:
    explicit DCOPObject(const QCString& objId);
    virtual ~DCOPObject();
    DCOPObject(const DCOPObject&) = delete;
    DCOPObject& operator=(const DCOPObject&) = delete;

    QCString objId() const { return m_objId; }

    /// Executes the call fun; true when handled. The base answers
    /// "interfaces()" and "functions()".
    virtual bool process(const QCString& fun, const QByteArray& data, QCString& replyType,
                         QByteArray& replyData);
    /// The calls offered, as "REPLYTYPE NAME(TYPE [NAME], ...)".
    virtual QCStringList functions();
    /// The interface names, starting with "DCOPObject".
    virtual QCStringList interfaces();

private:
    QCString m_objId;
};
