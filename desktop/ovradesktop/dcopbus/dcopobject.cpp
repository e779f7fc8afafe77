// SPDX-License-Identifier: GPL-2.0-or-later
#include "dcopobject.h"

#include "dcopclient.h"

#include <QDataStream>
#include <QIODevice>

DCOPObject::DCOPObject(const QCString& objId) : m_objId(objId)
{
    DCOPClient::mainClient()->attach(this);
}

DCOPObject::~DCOPObject()
{
    DCOPClient::mainClient()->detach(this);
}

bool DCOPObject::process(const QCString& fun, const QByteArray&, QCString& replyType,
                         QByteArray& replyData)
{
    QCStringList list;
    if (fun == "interfaces()") {
        list = interfaces();
    } else if (fun == "functions()") {
        list = functions();
    } else {
        return false;
    }
    replyType = "QCStringList";
    replyData.clear();
    QDataStream reply(&replyData, QIODevice::WriteOnly);
    reply << list;
    return true;
}

QCStringList DCOPObject::functions()
{
    return {"QCStringList interfaces()", "QCStringList functions()"};
}

QCStringList DCOPObject::interfaces()
{
    return {"DCOPObject"};
}
