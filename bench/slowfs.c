/* A stand-in for a network share, for the benchmark: a FUSE file system that
 * mirrors a source folder and waits a fixed time (default 1 ms, a round trip
 * on a local network) in every call the kernel makes to it.
 *
 *   kelvaro-slowfs SOURCE MOUNTPOINT [-o delay_us=N] [FUSE options]
 *   fusermount3 -u MOUNTPOINT
 *
 * Each call is served by a thread of its own (the multithreaded FUSE loop),
 * so requests that a program makes in parallel wait in parallel, as they
 * would for a server. Files are opened once and read and written through
 * their handles. The kernel checks permissions itself (default_permissions).
 * Closing a file costs a round trip (flush), as on a share. A listing gives
 * names and types; each name's attributes cost a lookup of their own. The
 * kernel's caching is FUSE's default: names and attributes for a second, file
 * contents dropped whenever a file is opened again.
 */
#define _GNU_SOURCE
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

struct options {
    unsigned delay_us;
    int show_help;
};

static struct options options = {1000, 0};
static int source = -1;          /* the mirrored folder, opened once */
static char *source_path;

static const struct fuse_opt option_spec[] = {
    {"delay_us=%u", offsetof(struct options, delay_us), 0},
    {"-h", offsetof(struct options, show_help), 1},
    {"--help", offsetof(struct options, show_help), 1},
    FUSE_OPT_END,
};

static void wait_round_trip(void)
{
    if (options.delay_us == 0)
        return;
    struct timespec pause = {options.delay_us / 1000000, (long)(options.delay_us % 1000000) * 1000};
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, &pause) == EINTR) {
    }
}

/* FUSE's paths start with '/'; the calls below take them relative to the
 * source folder. */
static const char *relative(const char *path)
{
    while (*path == '/')
        ++path;
    return *path ? path : ".";
}

static int failure(void)
{
    return -errno;
}

static void *slow_init(struct fuse_conn_info *conn, struct fuse_config *config)
{
    /* Listings carry names and types only: FUSE's high-level interface would
     * look every entry up (one more wait each) to give attributes with them. */
    conn->want &= ~FUSE_CAP_READDIRPLUS;
    config->use_ino = 1;   /* the source's inode numbers, so that identities stay stable */
    return NULL;
}

static int slow_getattr(const char *path, struct stat *status, struct fuse_file_info *fi)
{
    wait_round_trip();
    int result = fi ? fstat((int)fi->fh, status) : fstatat(source, relative(path), status, AT_SYMLINK_NOFOLLOW);
    return result == 0 ? 0 : failure();
}

static int slow_access(const char *path, int mask)
{
    wait_round_trip();
    return faccessat(source, relative(path), mask, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : failure();
}

static int slow_readlink(const char *path, char *buffer, size_t size)
{
    wait_round_trip();
    if (size == 0)
        return -EINVAL;
    ssize_t length = readlinkat(source, relative(path), buffer, size - 1);
    if (length < 0)
        return failure();
    buffer[length] = '\0';
    return 0;
}

struct folder {
    DIR *dir;
};

static int slow_opendir(const char *path, struct fuse_file_info *fi)
{
    wait_round_trip();
    int fd = openat(source, relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return failure();
    DIR *dir = fdopendir(fd);
    if (!dir) {
        int error = errno;
        close(fd);
        return -error;
    }
    fi->fh = (uint64_t)(uintptr_t)dir;
    return 0;
}

/* The whole listing in one call (offset 0 for every entry): FUSE keeps it
 * and hands it out to the kernel in pieces. */
static int slow_readdir(const char *path, void *buffer, fuse_fill_dir_t fill, off_t offset,
                        struct fuse_file_info *fi, enum fuse_readdir_flags flags)
{
    (void)path;
    (void)offset;
    (void)flags;
    wait_round_trip();
    DIR *dir = (DIR *)(uintptr_t)fi->fh;
    rewinddir(dir);
    struct dirent *entry;
    errno = 0;
    while ((entry = readdir(dir)) != NULL) {
        struct stat status;
        memset(&status, 0, sizeof status);
        status.st_ino = entry->d_ino;
        status.st_mode = (mode_t)DTTOIF(entry->d_type);
        if (fill(buffer, entry->d_name, &status, 0, 0))
            break;
        errno = 0;
    }
    return errno ? failure() : 0;
}

static int slow_releasedir(const char *path, struct fuse_file_info *fi)
{
    (void)path;
    wait_round_trip();
    closedir((DIR *)(uintptr_t)fi->fh);
    return 0;
}

static int slow_mkdir(const char *path, mode_t mode)
{
    wait_round_trip();
    return mkdirat(source, relative(path), mode) == 0 ? 0 : failure();
}

static int slow_rmdir(const char *path)
{
    wait_round_trip();
    return unlinkat(source, relative(path), AT_REMOVEDIR) == 0 ? 0 : failure();
}

static int slow_unlink(const char *path)
{
    wait_round_trip();
    return unlinkat(source, relative(path), 0) == 0 ? 0 : failure();
}

static int slow_symlink(const char *target, const char *path)
{
    wait_round_trip();
    return symlinkat(target, source, relative(path)) == 0 ? 0 : failure();
}

static int slow_link(const char *from, const char *to)
{
    wait_round_trip();
    return linkat(source, relative(from), source, relative(to), 0) == 0 ? 0 : failure();
}

static int slow_rename(const char *from, const char *to, unsigned int flags)
{
    wait_round_trip();
    return renameat2(source, relative(from), source, relative(to), flags) == 0 ? 0 : failure();
}

static int slow_chmod(const char *path, mode_t mode, struct fuse_file_info *fi)
{
    wait_round_trip();
    int result = fi ? fchmod((int)fi->fh, mode) : fchmodat(source, relative(path), mode, 0);
    return result == 0 ? 0 : failure();
}

static int slow_chown(const char *path, uid_t uid, gid_t gid, struct fuse_file_info *fi)
{
    wait_round_trip();
    int result = fi ? fchown((int)fi->fh, uid, gid) : fchownat(source, relative(path), uid, gid, AT_SYMLINK_NOFOLLOW);
    return result == 0 ? 0 : failure();
}

static int slow_truncate(const char *path, off_t size, struct fuse_file_info *fi)
{
    wait_round_trip();
    if (fi)
        return ftruncate((int)fi->fh, size) == 0 ? 0 : failure();
    int fd = openat(source, relative(path), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failure();
    int result = ftruncate(fd, size) == 0 ? 0 : failure();
    close(fd);
    return result;
}

static int slow_utimens(const char *path, const struct timespec times[2], struct fuse_file_info *fi)
{
    wait_round_trip();
    int result = fi ? futimens((int)fi->fh, times) : utimensat(source, relative(path), times, AT_SYMLINK_NOFOLLOW);
    return result == 0 ? 0 : failure();
}

static int slow_open(const char *path, struct fuse_file_info *fi)
{
    wait_round_trip();
    int fd = openat(source, relative(path), fi->flags | O_CLOEXEC);
    if (fd < 0)
        return failure();
    fi->fh = (uint64_t)fd;
    return 0;
}

static int slow_create(const char *path, mode_t mode, struct fuse_file_info *fi)
{
    wait_round_trip();
    int fd = openat(source, relative(path), fi->flags | O_CREAT | O_CLOEXEC, mode);
    if (fd < 0)
        return failure();
    fi->fh = (uint64_t)fd;
    return 0;
}

static int slow_read(const char *path, char *buffer, size_t size, off_t offset, struct fuse_file_info *fi)
{
    (void)path;
    wait_round_trip();
    ssize_t got = pread((int)fi->fh, buffer, size, offset);
    return got < 0 ? failure() : (int)got;
}

static int slow_write(const char *path, const char *buffer, size_t size, off_t offset, struct fuse_file_info *fi)
{
    (void)path;
    wait_round_trip();
    ssize_t put = pwrite((int)fi->fh, buffer, size, offset);
    return put < 0 ? failure() : (int)put;
}

static int slow_statfs(const char *path, struct statvfs *status)
{
    (void)path;
    wait_round_trip();
    return fstatvfs(source, status) == 0 ? 0 : failure();
}

/* Called for every close() of a file: a share answers it before close returns. */
static int slow_flush(const char *path, struct fuse_file_info *fi)
{
    (void)path;
    (void)fi;
    wait_round_trip();
    return 0;
}

static int slow_release(const char *path, struct fuse_file_info *fi)
{
    (void)path;
    wait_round_trip();
    close((int)fi->fh);
    return 0;
}

static int slow_fsync(const char *path, int datasync, struct fuse_file_info *fi)
{
    (void)path;
    wait_round_trip();
    int result = datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh);
    return result == 0 ? 0 : failure();
}

static const struct fuse_operations operations = {
    .init = slow_init,
    .getattr = slow_getattr,
    .access = slow_access,
    .readlink = slow_readlink,
    .opendir = slow_opendir,
    .readdir = slow_readdir,
    .releasedir = slow_releasedir,
    .mkdir = slow_mkdir,
    .rmdir = slow_rmdir,
    .unlink = slow_unlink,
    .symlink = slow_symlink,
    .link = slow_link,
    .rename = slow_rename,
    .chmod = slow_chmod,
    .chown = slow_chown,
    .truncate = slow_truncate,
    .utimens = slow_utimens,
    .open = slow_open,
    .create = slow_create,
    .read = slow_read,
    .write = slow_write,
    .statfs = slow_statfs,
    .flush = slow_flush,
    .release = slow_release,
    .fsync = slow_fsync,
};

/* The first argument that is not an option is the source folder; the next
 * one, the mount point, goes on to FUSE. */
static int take_source(void *data, const char *argument, int key, struct fuse_args *args)
{
    (void)data;
    (void)args;
    if (key == FUSE_OPT_KEY_NONOPT && !source_path) {
        source_path = strdup(argument);
        return 0;
    }
    return 1;
}

static void usage(const char *program)
{
    printf("usage: %s SOURCE MOUNTPOINT [-o delay_us=N] [FUSE options]\n"
           "  mirrors SOURCE at MOUNTPOINT, waiting N microseconds (default 1000) in every call\n\n",
           program);
}

int main(int argc, char *argv[])
{
    struct fuse_args args = FUSE_ARGS_INIT(argc, argv);
    if (fuse_opt_parse(&args, &options, option_spec, take_source) != 0)
        return 2;
    if (options.show_help) {
        usage(argv[0]);
        fuse_opt_add_arg(&args, "--help");
        args.argv[0][0] = '\0';   /* FUSE's own help without a second usage line */
        return fuse_main(args.argc, args.argv, &operations, NULL);
    }
    if (!source_path) {
        usage(argv[0]);
        return 2;
    }
    source = open(source_path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (source < 0) {
        fprintf(stderr, "%s: %s: %s\n", argv[0], source_path, strerror(errno));
        return 1;
    }
    /* The kernel checks permissions from the mirrored modes; enough threads
     * for every request a benchmarked program keeps in flight. Options given
     * on the command line come later and win. */
    fuse_opt_insert_arg(&args, 1, "-odefault_permissions,fsname=kelvaro-slowfs,max_threads=64");
    umask(0);
    int result = fuse_main(args.argc, args.argv, &operations, NULL);
    fuse_opt_free_args(&args);
    close(source);
    free(source_path);
    return result;
}
