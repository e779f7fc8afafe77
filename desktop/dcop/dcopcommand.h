// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDBusConnection>
#include <QStringList>

/// The dcop command line: lists applications, their objects and the objects'
/// functions, and calls a function with arguments converted by its declared
/// parameter types. Exit status: 0 on success, 1 when an application, object
/// or function does not exist or the call fails, 2 for bad usage or a bad argument.
class DcopCommand
{
public:
    explicit DcopCommand(const QDBusConnection& bus);

    int run(const QStringList& args);

    enum ExitCode
    {
        Success = 0,
        NotFound = 1,
        BadUsage = 2
    };

private:
    int listApplications();
    int listObjects(const QString& service);
    int listFunctions(const QString& service, const QString& objId);
    int call(const QString& service, const QString& objId, const QString& function,
             const QStringList& args);

    QString resolveApplication(const QString& app) const;
    QStringList objectsOf(const QString& service) const;
    bool hasObject(const QString& service, const QString& objId) const;
    bool functionsOf(const QString& service, const QString& objId, QStringList* functions,
                     QString* error) const;
    QString introspect(const QString& service, const QString& path) const;

    QDBusConnection m_bus;
    QString m_app;
};
