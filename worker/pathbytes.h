#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// File names as the file system holds them. On POSIX systems a name is a
// string of bytes that need not be valid UTF-8 (old archives, FAT cards
// written elsewhere): such names must still be walked, opened, shifted and
// named. A path is held in a QString that keeps every byte: valid UTF-8 is
// decoded as usual, and each byte that is not part of valid UTF-8 becomes the
// lone surrogate U+DC80..U+DCFF (0x80..0xFF), which encode() turns back into
// that byte. On Windows, where names are UTF-16, both ways are plain UTF-8.
//
// Paths longer than the system's limit (very deep trees) are opened step by
// step, one folder at a time.
class PathBytes {
public:
    static QString decode(const QByteArray &bytes);
    static QByteArray encode(const QString &path);

    // The byte that the unit at `i` stands for, or -1 for (part of) an
    // ordinary character. The low half of a surrogate pair (a character
    // beyond U+FFFF, valid UTF-8 of four bytes) is no byte of its own.
    static int escapedByte(QStringView text, qsizetype i)
    {
        const char16_t unit = text[i].unicode();
        if (unit < 0xDC80 || unit > 0xDCFF || (i > 0 && QChar::isHighSurrogate(text[i - 1].unicode())))
            return -1;
        return int(unit - 0xDC00);
    }

    // The path with each byte that is not UTF-8 written as \xHH.
    static QString escaped(const QString &path);
    // For people: the same with native separators.
    static QString display(const QString &path);
    // For log lines: escaped, as UTF-8 (separators as the program holds them).
    static QByteArray displayBytes(const QString &path) { return escaped(path).toUtf8(); }

#ifndef _WIN32
    // open(2) and stat(2) that also reach paths longer than PATH_MAX.
    static int open(const QByteArray &path, int flags, mode_t mode = 0);
    static bool stat(const QByteArray &path, struct stat *status);
#endif
    static bool isFolder(const QString &path);
    static bool isFile(const QString &path);
    // The path with every link resolved, or an empty path.
    static QString canonical(const QString &path);
    // Whether a canonical path is the canonical folder or lies below it.
    static bool isWithin(const QString &canonicalPath, const QString &canonicalFolder);
};
