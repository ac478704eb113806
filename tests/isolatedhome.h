#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace jpegtest {

// Points the home folder and the per-user data, configuration and cache
// folders of the test process (and of every program it starts) into a
// temporary folder of its own, before anything runs, so that no test reads or
// writes the user's own journals or settings.
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

inline IsolatedHome isolatedHome;

} // namespace jpegtest
