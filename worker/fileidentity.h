#pragma once

#include <QHashFunctions>

#include <cstdint>
#include <functional>

#include <sys/stat.h>
#include <sys/types.h>

// One physical file or folder: where it lives (device and inode number; on
// Windows the volume's serial number and the file index, since st_dev and
// st_ino tell nothing there), and what it looked like when it was read: its
// size and times. Two identities are equal when they name the same physical
// file, whatever its size and times; unchangedSince() compares those too.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t modificationNs = 0;
    int64_t accessNs = 0;
    int64_t changeNs = 0;   // the status change time; 0 where the system keeps none

    FileIdentity() = default;
    FileIdentity(uint64_t device, uint64_t inode) : device(device), inode(inode) {}

    // Asked once a file is open: false when this file was met before in the
    // pass, in which case the step leaves it alone (AlreadySeen).
    using Claim = std::function<bool(const FileIdentity &)>;

    bool operator==(const FileIdentity &other) const { return device == other.device && inode == other.inode; }
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }

    // The same file, of the same size, with the same modification and change
    // times: nobody wrote it in between (as far as its status can tell).
    bool unchangedSince(const FileIdentity &before) const
    {
        return *this == before && size == before.size && modificationNs == before.modificationNs
               && changeNs == before.changeNs;
    }

#ifdef _WIN32
    static FileIdentity fromWindows(uint32_t volume, uint32_t indexHigh, uint32_t indexLow)
    {
        return {volume, (uint64_t(indexHigh) << 32) | indexLow};
    }
    static FileIdentity of(const struct _stat64 &status);   // size and times only
#else
    static FileIdentity of(const struct stat &status);
#endif
};

inline size_t qHash(const FileIdentity &id, size_t seed = 0)
{
    return qHashMulti(seed, quint64(id.device), quint64(id.inode));
}
