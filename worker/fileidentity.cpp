#include "fileidentity.h"

#ifdef _WIN32
FileIdentity FileIdentity::of(const struct _stat64 &status)
{
    // Windows' status keeps whole seconds only; the exact times come from the
    // open file's handle where they matter.
    FileIdentity id;
    id.size = int64_t(status.st_size);
    id.modificationNs = int64_t(status.st_mtime) * 1000000000LL;
    id.accessNs = int64_t(status.st_atime) * 1000000000LL;
    return id;
}
#else
FileIdentity FileIdentity::of(const struct stat &status)
{
    FileIdentity id(uint64_t(status.st_dev), uint64_t(status.st_ino));
    id.size = int64_t(status.st_size);
    id.modificationNs = int64_t(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    id.accessNs = int64_t(status.st_atim.tv_sec) * 1000000000LL + status.st_atim.tv_nsec;
    id.changeNs = int64_t(status.st_ctim.tv_sec) * 1000000000LL + status.st_ctim.tv_nsec;
    return id;
}
#endif
