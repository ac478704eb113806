// kelvaro-cli: the job of the Kelvaro window from a terminal.
#include "clicommand.h"
#include "clioptions.h"

#include <QCoreApplication>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#define STDOUT_FILENO 1
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

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
    // The EXIF engine writes its two diagnostic lines ("No image in jpeg!", ...)
    // to standard output. They belong with the other diagnostics on standard
    // error: the command's report keeps the original standard output as a
    // stream of its own, and file descriptor 1 becomes a copy of standard error,
    // so that what scripts read (JSON above all) is never broken by them.
    FILE *report = stdout;
    const int reportFd = dup(STDOUT_FILENO);
    if (reportFd >= 0) {
        if (FILE *own = fdopen(reportFd, "w")) {
            fflush(stdout);
            report = own;
            dup2(STDERR_FILENO, STDOUT_FILENO);
        } else {
            close(reportFd);
        }
    }
    const CliOptions options = CliOptions::parse(app.arguments().mid(1));
    const int status = CliCommand(options, report).run();
    fflush(report);
    return status;
}
