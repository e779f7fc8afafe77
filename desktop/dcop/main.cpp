// SPDX-License-Identifier: GPL-2.0-or-later
// dcop: the DCOP command line, over the D-Bus session bus.

#include "dcopcommand.h"

#include <dcoptypes.h>

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>
#include <cstring>

namespace {

const char usage[] =
    "Usage: dcop [APPLICATION [OBJECT [FUNCTION [ARGUMENT...]]]]\n"
    "       dcop --help | --version\n"
    "\n"
    "  dcop                        list the applications\n"
    "  dcop APP                    list the objects of an application\n"
    "  dcop APP OBJ                list the functions of an object\n"
    "  dcop APP OBJ FUN ARGS...    call a function and print its reply\n"
    "\n"
    "FUN is a function name or a signature such as \"setPos(int)\". Each argument is\n"
    "converted to the declared parameter type (int, bool: true/false, QString, ...;\n"
    "lists as comma-separated items). Applications are the D-Bus services\n"
    "org.kde.APP of the session bus; APP also finds APP-PID.\n"
    "Exit status: 0 on success, 1 when an application, object or function does not\n"
    "exist or the call fails, 2 for bad usage or a bad argument.\n";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty() &&
        (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (!args.isEmpty() &&
        (args.first() == QLatin1String("--version") || args.first() == QLatin1String("-v"))) {
        std::puts("dcop 1.0");
        return 0;
    }
    if (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "dcop: unknown option %s\n\n%s", qPrintable(args.first()), usage);
        return DcopCommand::BadUsage;
    }
    DCOPTypes::registerMetaTypes();
    DcopCommand command(QDBusConnection::sessionBus());
    return command.run(args);
}
