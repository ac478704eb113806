// kelvaro-cli: the job of the Kelvaro window from a terminal.
#include "clicommand.h"
#include "clioptions.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvaro-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARO_VERSION));
    const CliOptions options = CliOptions::parse(app.arguments().mid(1));
    return CliCommand(options).run();
}
