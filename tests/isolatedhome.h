#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#ifdef _WIN32
#include <QDir>
#include <QStandardPaths>
#include <windows.h>
#endif

namespace jpegtest {

// Points the home folder and the per-user data, configuration and cache
// folders of the test process (and of every program it starts) into a
// temporary folder of its own, before anything runs, so that no test reads or
// writes the user's own journals or settings.
#ifdef _WIN32
// Windows: Qt asks Windows itself for the per-user folders and reads no
// variables, so the journals stay in the user's own data folder. Under Wine,
// whose prefix `./dev.sh windows` makes for the tests alone, the journal folder
// is emptied before the tests start; the tests that write journals hold a
// CTest resource lock, so that they never run side by side.
struct IsolatedHome {
    QTemporaryDir dir;
    IsolatedHome()
    {
        if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            QDir(journalFolder()).removeRecursively();
    }
    QString journalFolder() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
               + QStringLiteral("/Morvane/Kelvaro/journal");
    }
};
#else
struct IsolatedHome {
    QTemporaryDir dir;
    IsolatedHome()
    {
        const QByteArray home = QFile::encodeName(dir.path());
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", home + "/data");
        qputenv("XDG_CONFIG_HOME", home + "/config");
        qputenv("XDG_CACHE_HOME", home + "/cache");
        qputenv("XDG_STATE_HOME", home + "/state");
    }
    QString journalFolder() const { return dir.path() + QStringLiteral("/data/Morvane/Kelvaro/journal"); }
};
#endif

inline IsolatedHome isolatedHome;

} // namespace jpegtest
