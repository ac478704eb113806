// kelvaro-cli: the job of the Kelvaro window from a terminal.
#include "capturedate.h"
#include "clicommand.h"
#include "clioptions.h"
#include "pathbytes.h"
#include "terminalenglish.h"

#include <QCoreApplication>
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
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
#ifdef _WIN32
    // The same bytes as elsewhere: lines end in LF, not CR LF (the console
    // shows either), so that scripts and JSON readers see one format. Set
    // before the copy of standard output is taken, which keeps the mode.
    _setmode(STDOUT_FILENO, _O_BINARY);
    _setmode(STDERR_FILENO, _O_BINARY);
#endif
    // The EXIF engine writes its two diagnostic lines ("No image in jpeg!", ...)
    // to standard output. They belong with the other diagnostics on standard
    // error: the command's report keeps the original standard output as a
    // stream of its own, and file descriptor 1 becomes a copy of standard error,
    // so that what scripts read (JSON above all) is never broken by them.
    // This comes first, before anything opens a file that could take a closed
    // descriptor 1. Without its own copy of standard output the report and
    // those lines would share one stream: the command does not start (status
    // 2, as for bad input: nothing was read or written).
    FILE *report = nullptr;
    const int reportFd = dup(STDOUT_FILENO);
    if (reportFd >= 0) {
        report = fdopen(reportFd, "w");
        if (!report)
            close(reportFd);
    }
    if (!report) {
        std::fprintf(stderr, "kelvaro-cli: cannot use standard output: %s; nothing was done\n", std::strerror(errno));
        return CliCommand::BadInput;
    }
    fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
#ifndef _WIN32
    // The C library reads the zone file again for every local-time conversion
    // while TZ is unset; naming its default zone explicitly spares a file
    // status call per picture and changes nothing else.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
#else
    // Local time is the system's zone, whatever a TZ variable says (the C
    // runtime would read ":/etc/localtime" or "Europe/Berlin" as a zone at
    // UTC). Log lines go to standard error as elsewhere; Qt
    // would send them to the debugger when no console window is attached.
    CaptureDate::useSystemTimeZone();
    if (!qEnvironmentVariableIsSet("QT_FORCE_STDERR_LOGGING"))
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    // Paths and texts are written in UTF-8; a console shows them right only
    // in its UTF-8 code page, which is set for the run and put back after.
    const UINT consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8)
        SetConsoleOutputCP(CP_UTF8);
    struct RestoreCodePage {
        UINT codePage;
        ~RestoreCodePage()
        {
            if (codePage != 0 && codePage != CP_UTF8)
                SetConsoleOutputCP(codePage);
        }
    } restoreCodePage{consoleCodePage};
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvaro-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARO_VERSION));
    // kelvaro-cli speaks English whatever the environment, numbers included.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // The texts shared with the window, as sentences for a terminal.
    TerminalEnglish english;
    QCoreApplication::installTranslator(&english);
#ifdef _WIN32
    const CliOptions options = CliOptions::parse(app.arguments().mid(1));
#else
    // By their own bytes: a folder's name need not be UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathBytes::decode(QByteArray(argv[i]));
    const CliOptions options = CliOptions::parse(arguments);
#endif
    int status = CliCommand(options, report).run();
    // A report that did not reach its reader (a full disk, a closed pipe) is
    // a failure, whatever the command did: status 1 unless it already failed.
    const bool written = fflush(report) == 0 && !ferror(report);
    const int writeError = errno;
    if (fclose(report) != 0 || !written) {
        std::fprintf(stderr, "kelvaro-cli: cannot write the report: %s\n",
                     std::strerror(written ? errno : writeError));
        if (status == CliCommand::Success)
            status = CliCommand::NotAllChanged;
    }
    return status;
}
