/* Takes trees out of the page cache without root, for the benchmark's cold
 * runs:  kelvaro-dropcache DIR...
 *
 * Writes back what is pending on each tree's file system, then tells the
 * kernel that no file or folder of the tree will be needed again
 * (POSIX_FADV_DONTNEED), which drops their clean cached pages. What it cannot
 * reach: the cached inodes and names, and folders whose blocks a file system
 * keeps in the disk's own cache (ext4 does) rather than the folder's. Root can
 * drop those too (/proc/sys/vm/drop_caches); bench/run.sh does when it can.
 */
#define _GNU_SOURCE
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static long failures;

static int forget(const char *path, const struct stat *status, int type, struct FTW *where)
{
    (void)where;
    const int folder = type == FTW_D || type == FTW_DP || type == FTW_DNR;
    if (!folder && !(type == FTW_F && S_ISREG(status->st_mode)))
        return 0;   /* links are not followed; devices and pipes have no pages to drop */
    int fd = open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0) {
        perror(path);
        ++failures;
        return 0;
    }
    int error = posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    if (error) {
        fprintf(stderr, "%s: %s\n", path, strerror(error));
        ++failures;
    }
    close(fd);
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s DIR...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        /* Dirty pages are not dropped: write them back first. */
        int top = open(argv[i], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (top < 0 || syncfs(top) != 0) {
            perror(argv[i]);
            ++failures;
        }
        if (top >= 0)
            close(top);
        /* Folders after their contents (FTW_DEPTH), on this file system only. */
        if (nftw(argv[i], forget, 64, FTW_PHYS | FTW_MOUNT | FTW_DEPTH) != 0) {
            perror(argv[i]);
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
