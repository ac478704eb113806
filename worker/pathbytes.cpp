#include "pathbytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifndef _WIN32
namespace {
// The length of the valid UTF-8 sequence at `p` (of at most `n` bytes), or 0.
// Overlong forms, encoded surrogates and values past U+10FFFF are not valid.
int sequenceLength(const unsigned char *p, qsizetype n)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int length;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (n < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    return length;
}
} // namespace
#endif

QString PathBytes::decode(const QByteArray &bytes)
{
#ifdef _WIN32
    return QString::fromUtf8(bytes);   // names are UTF-16: their UTF-8 form loses nothing
#else
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const int length = sequenceLength(p + i, n - i);
        if (length == 0)
            break;
        i += length;
    }
    if (i == n)
        return QString::fromUtf8(bytes);
    QString out;
    out.reserve(n);
    qsizetype start = 0;
    i = 0;
    while (i < n) {
        const int length = sequenceLength(p + i, n - i);
        if (length) {
            i += length;
            continue;
        }
        out += QString::fromUtf8(bytes.constData() + start, i - start);
        out += QChar(char16_t(0xDC00 + p[i]));
        start = ++i;
    }
    out += QString::fromUtf8(bytes.constData() + start, n - start);
    return out;
#endif
}

QByteArray PathBytes::encode(const QString &path)
{
#ifdef _WIN32
    return path.toUtf8();
#else
    const char16_t *u = reinterpret_cast<const char16_t *>(path.utf16());
    const qsizetype n = path.size();
    qsizetype i = 0;
    const QStringView units(path);
    while (i < n && escapedByte(units, i) < 0)
        ++i;
    if (i == n)
        return path.toUtf8();
    QByteArray out;
    out.reserve(n * 3);
    qsizetype start = 0;
    for (i = 0; i < n; ++i) {
        const int byte = escapedByte(units, i);
        if (byte < 0)
            continue;
        out += QStringView(u + start, i - start).toUtf8();
        out += char(byte);
        start = i + 1;
    }
    out += QStringView(u + start, n - start).toUtf8();
    return out;
#endif
}

QString PathBytes::escaped(const QString &path)
{
    QString out = path;
    for (qsizetype i = out.size() - 1; i >= 0; --i) {
        const int byte = escapedByte(out, i);
        if (byte >= 0)
            out.replace(i, 1, QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0')));
    }
    return out;
}

QString PathBytes::display(const QString &path)
{
    return escaped(QDir::toNativeSeparators(path));
}

#ifndef _WIN32
int PathBytes::open(const QByteArray &path, int flags, mode_t mode)
{
    const int fd = ::open(path.constData(), flags, mode);
    if (fd >= 0 || errno != ENAMETOOLONG)
        return fd;
    // Too long for one call: walk down to the last folder one name at a time.
    int at = ::open(path.startsWith('/') ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QList<QByteArray> names = path.split('/');
    for (qsizetype i = 0; at >= 0 && i + 1 < names.size(); ++i) {
        if (names[i].isEmpty())
            continue;
        const int next = ::openat(at, names[i].constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int saved = errno;
        ::close(at);
        errno = saved;
        at = next;
    }
    if (at < 0)
        return -1;
    const int result = ::openat(at, names.last().isEmpty() ? "." : names.last().constData(), flags, mode);
    const int saved = errno;
    ::close(at);
    errno = saved;
    return result;
}

bool PathBytes::stat(const QByteArray &path, struct stat *status)
{
    if (::stat(path.constData(), status) == 0)
        return true;
    if (errno != ENAMETOOLONG)
        return false;
    const int fd = open(path, O_PATH | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fstat(fd, status) == 0;
    ::close(fd);
    return ok;
}
#endif

bool PathBytes::isFolder(const QString &path)
{
#ifdef _WIN32
    return QFileInfo(path).isDir();
#else
    struct stat status;
    return stat(encode(path), &status) && S_ISDIR(status.st_mode);
#endif
}

bool PathBytes::isFile(const QString &path)
{
#ifdef _WIN32
    return QFileInfo(path).isFile();
#else
    struct stat status;
    return stat(encode(path), &status) && S_ISREG(status.st_mode);
#endif
}

bool PathBytes::isWithin(const QString &canonicalPath, const QString &canonicalFolder)
{
#ifdef _WIN32
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    const QString below = canonicalFolder.endsWith(QLatin1Char('/')) ? canonicalFolder : canonicalFolder + QLatin1Char('/');
    return canonicalPath.compare(canonicalFolder, cs) == 0 || canonicalPath.startsWith(below, cs);
}

QString PathBytes::canonical(const QString &path)
{
#ifdef _WIN32
    return QFileInfo(path).canonicalFilePath();
#else
    char *resolved = ::realpath(encode(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString out = decode(QByteArray(resolved));
    ::free(resolved);
    return out;
#endif
}
