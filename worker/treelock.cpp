#include "treelock.h"

#include "journal.h"
#include "pathbytes.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString TreeLock::lockPath(const QString &folder)
{
#ifdef _WIN32
    const QByteArray key = PathBytes::encode(PathBytes::canonical(folder).toCaseFolded());
    return Journal::folder() + QStringLiteral("/lock-")
           + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
#else
    struct stat status;
    if (!PathBytes::stat(PathBytes::encode(folder), &status))
        return {};
    const FileIdentity tree = FileIdentity::of(status);
    return Journal::folder() + QStringLiteral("/lock-%1-%2").arg(tree.device).arg(tree.inode);
#endif
}

bool TreeLock::acquire(const QString &folder, QString *error)
{
    release();
    const QString path = lockPath(folder);
    if (path.isEmpty()) {
        *error = QStringLiteral("%1: no such folder").arg(QDir::toNativeSeparators(folder));
        return false;
    }
#ifdef _WIN32
    int fd = -1;
    _wsopen_s(&fd, reinterpret_cast<const wchar_t *>(path.utf16()), _O_RDWR | _O_CREAT | _O_BINARY, _SH_DENYNO,
              _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        *error = QStringLiteral("cannot create the lock file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A pass that only looks at the count holds the lock for a moment: try
    // again for a little while before taking the tree for busy.
    bool locked = false;
    for (int attempt = 0; attempt < 25 && !locked; ++attempt) {
        OVERLAPPED whole{};
        locked = LockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)),
                            LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole) != 0;
        if (!locked)
            QThread::msleep(10);
    }
    if (!locked) {
        _close(fd);
#else
    const int fd = ::open(PathBytes::encode(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot create the lock file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A pass that only looks at the count holds the lock for a moment: try
    // again for a little while before taking the tree for busy.
    bool locked = false;
    for (int attempt = 0; attempt < 25 && !locked; ++attempt) {
        locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (!locked)
            QThread::msleep(10);
    }
    if (!locked) {
        ::close(fd);
#endif
        *error = QCoreApplication::translate("JobMessages",
                                             "another shift, undo or resume of %1 is running; nothing was changed")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    handle = fd;
    return true;
}

void TreeLock::release()
{
    if (handle < 0)
        return;
#ifdef _WIN32
    _close(handle);   // closing the handle drops its locks
#else
    ::close(handle);
#endif
    handle = -1;
}

bool TreeLock::isBusy(const QString &folder)
{
    TreeLock probe;
    QString error;
    if (probe.acquire(folder, &error))
        return false;
    return !lockPath(folder).isEmpty();
}

namespace {

qint64 readCount(int fd)
{
    char text[32] = {};
#ifdef _WIN32
    _lseeki64(fd, 0, SEEK_SET);
    const int got = _read(fd, text, sizeof text - 1);
#else
    const ssize_t got = pread(fd, text, sizeof text - 1, 0);
#endif
    return got > 0 ? QByteArray(text, int(got)).trimmed().toLongLong() : 0;
}

} // namespace

qint64 TreeLock::heldGeneration() const
{
    return handle >= 0 ? readCount(handle) : -1;
}

bool TreeLock::countThisPass()
{
    if (handle < 0)
        return false;
    const QByteArray text = QByteArray::number(readCount(handle) + 1) + '\n';
#ifdef _WIN32
    _lseeki64(handle, 0, SEEK_SET);
    return _write(handle, text.constData(), unsigned(text.size())) == text.size();
#else
    return pwrite(handle, text.constData(), size_t(text.size()), 0) == text.size();
#endif
}

qint64 TreeLock::generation(const QString &folder, bool *busy)
{
    const QString path = lockPath(folder);
    *busy = false;
    if (path.isEmpty())
        return 0;
    QFile file(path);
    if (!file.exists())
        return 0;   // no writing pass has ever run here
    TreeLock probe;
    QString error;
    if (!probe.acquire(folder, &error)) {
        *busy = true;
        return -1;
    }
    return probe.heldGeneration();
}
