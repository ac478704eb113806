// kelvaro-cli: the job of the Kelvaro window from a terminal.
#include "clicommand.h"
#include "clioptions.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // The C library reads the zone file again for every local-time conversion
    // while TZ is unset; naming its default zone explicitly spares a file
    // status call per picture and changes nothing else.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvaro-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARO_VERSION));
    const CliOptions options = CliOptions::parse(app.arguments().mid(1));
    return CliCommand(options).run();
}
