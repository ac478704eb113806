/* A fault-injection shim for the tests, loaded with LD_PRELOAD into the
 * program under test. It stands in front of the C library's file calls and
 * makes one chosen call fail, come up short, stop the process or wait:
 *
 *   KELVARO_FAULT=OP:N:ACTION[,OP:N:ACTION...]
 *       OP      write     write, pwrite, pwrite64
 *               read      pread, pread64
 *               close     close
 *               fdatasync fdatasync, fsync, syncfs
 *       N       the Nth call of that kind (from 1) on a descriptor whose path
 *               matches KELVARO_FAULT_PATH; calls on other descriptors are
 *               neither counted nor touched
 *       ACTION  eio          fail with EIO, doing nothing (close: close, then
 *                            report EIO)
 *               eintr        fail with EINTR, doing nothing (a signal came)
 *               short        write: put the first half and report that; the
 *                            next write on a matching path fails with ENOSPC
 *                            (a disk that fills up mid-write)
 *               half         write: put the first half and report that (a
 *                            short write that the caller is to continue)
 *               torn         write: put the first half, then raise SIGKILL (a
 *                            kill that lands between two pages of one write)
 *               kill-before  raise SIGKILL before the call ("kill" alike)
 *               kill-after   raise SIGKILL after the call
 *               pause        write the path to KELVARO_FAULT_MARK, then wait
 *                            (30 s at most) until the file KELVARO_FAULT_GO
 *                            exists, then do the call
 *
 *   KELVARO_FAULT_CUT   short, half and torn put this many bytes instead of half
 *                       (when fewer than the call's), to cut a write at a
 *                       chosen byte
 *   KELVARO_FAULT_PATH  substrings separated by '|', matched without regard
 *                       to letter case against the descriptor's path (found
 *                       through /proc/self/fd); default ".jpg"
 *   KELVARO_FAULT_LOG   when set, every matching call is appended to this
 *                       file as "OP N PATH"
 *   KELVARO_FAULT_SLOW  every write on a matching path waits this many
 *                       milliseconds first (a slow card or share), with or
 *                       without KELVARO_FAULT
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

enum { OP_WRITE, OP_READ, OP_CLOSE, OP_SYNC, OP_COUNT };
static const char *const opNames[OP_COUNT] = {"write", "read", "close", "fdatasync"};

enum { ACT_NONE, ACT_EIO, ACT_SHORT, ACT_HALF, ACT_TORN, ACT_EINTR, ACT_KILL_BEFORE, ACT_KILL_AFTER, ACT_PAUSE };

#define MAX_FAULTS 8
struct Fault {
    int op;
    long n;
    int action;
};

static struct Fault faults[MAX_FAULTS];
static int faultCount = -1;
static long counters[OP_COUNT];
static int failNextWrite;
static long slowMs;

static ssize_t (*realWrite)(int, const void *, size_t);
static ssize_t (*realPwrite)(int, const void *, size_t, off_t);
static ssize_t (*realPwrite64)(int, const void *, size_t, off64_t);
static ssize_t (*realPread)(int, void *, size_t, off_t);
static ssize_t (*realPread64)(int, void *, size_t, off64_t);
static int (*realClose)(int);
static int (*realFdatasync)(int);
static int (*realFsync)(int);
static int (*realSyncfs)(int);

static int parseAction(const char *text)
{
    if (strcmp(text, "eio") == 0)
        return ACT_EIO;
    if (strcmp(text, "short") == 0)
        return ACT_SHORT;
    if (strcmp(text, "half") == 0)
        return ACT_HALF;
    if (strcmp(text, "torn") == 0)
        return ACT_TORN;
    if (strcmp(text, "eintr") == 0)
        return ACT_EINTR;
    if (strcmp(text, "kill") == 0 || strcmp(text, "kill-before") == 0)
        return ACT_KILL_BEFORE;
    if (strcmp(text, "kill-after") == 0)
        return ACT_KILL_AFTER;
    if (strcmp(text, "pause") == 0)
        return ACT_PAUSE;
    return ACT_NONE;
}

static void setUp(void)
{
    if (faultCount >= 0)
        return;
    realWrite = dlsym(RTLD_NEXT, "write");
    realPwrite = dlsym(RTLD_NEXT, "pwrite");
    realPwrite64 = dlsym(RTLD_NEXT, "pwrite64");
    realPread = dlsym(RTLD_NEXT, "pread");
    realPread64 = dlsym(RTLD_NEXT, "pread64");
    realClose = dlsym(RTLD_NEXT, "close");
    realFdatasync = dlsym(RTLD_NEXT, "fdatasync");
    realFsync = dlsym(RTLD_NEXT, "fsync");
    realSyncfs = dlsym(RTLD_NEXT, "syncfs");

    const char *slow = getenv("KELVARO_FAULT_SLOW");
    slowMs = slow ? strtol(slow, NULL, 10) : 0;
    int count = 0;
    const char *wanted = getenv("KELVARO_FAULT");
    char copy[512];
    if (wanted && strlen(wanted) < sizeof copy) {
        strcpy(copy, wanted);
        char *save = NULL;
        for (char *item = strtok_r(copy, ",", &save); item && count < MAX_FAULTS;
             item = strtok_r(NULL, ",", &save)) {
            char *n = strchr(item, ':');
            char *action = n ? strchr(n + 1, ':') : NULL;
            if (!action)
                continue;
            *n++ = '\0';
            *action++ = '\0';
            for (int op = 0; op < OP_COUNT; ++op) {
                if (strcmp(item, opNames[op]) == 0 && parseAction(action) != ACT_NONE) {
                    faults[count].op = op;
                    faults[count].n = strtol(n, NULL, 10);
                    faults[count].action = parseAction(action);
                    ++count;
                }
            }
        }
    }
    __atomic_store_n(&faultCount, count, __ATOMIC_RELEASE);
}

/* The path of an open descriptor, or an empty text. */
static void pathOf(int fd, char *path, size_t size)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, size - 1);
    path[n > 0 ? n : 0] = '\0';
}

static int pathMatches(const char *path)
{
    const char *wanted = getenv("KELVARO_FAULT_PATH");
    if (!wanted || !*wanted)
        wanted = ".jpg";
    const char *at = wanted;
    while (*at) {
        const char *end = strchr(at, '|');
        const size_t length = end ? (size_t)(end - at) : strlen(at);
        if (length > 0) {
            for (const char *p = path; *p; ++p)
                if (strncasecmp(p, at, length) == 0)
                    return 1;
        }
        at += length + (end ? 1 : 0);
    }
    return 0;
}

static void logCall(int op, long n, const char *path)
{
    const char *log = getenv("KELVARO_FAULT_LOG");
    if (!log)
        return;
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    char line[4200];
    const int length = snprintf(line, sizeof line, "%s %ld %s\n", opNames[op], n, path);
    if (length > 0)
        realWrite(fd, line, (size_t)length < sizeof line ? (size_t)length : sizeof line - 1);
    realClose(fd);
}

static void pauseHere(const char *path)
{
    const char *mark = getenv("KELVARO_FAULT_MARK");
    const char *go = getenv("KELVARO_FAULT_GO");
    if (mark) {
        char temporary[4200];
        snprintf(temporary, sizeof temporary, "%s.part", mark);
        const int fd = open(temporary, O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) {
            realWrite(fd, path, strlen(path));
            realClose(fd);
            rename(temporary, mark);   /* the test sees the whole path or nothing */
        }
    }
    if (!go)
        return;
    struct stat status;
    const struct timespec step = {0, 5 * 1000 * 1000};
    for (int i = 0; i < 6000 && stat(go, &status) != 0; ++i)
        nanosleep(&step, NULL);
}

/* Counts a call on `fd` and tells which action applies to it. */
static int actionFor(int op, int fd, char *path, size_t size)
{
    setUp();
    path[0] = '\0';
    if (fd < 0)
        return ACT_NONE;
    pathOf(fd, path, size);
    if (!pathMatches(path))
        return ACT_NONE;
    const long n = __atomic_add_fetch(&counters[op], 1, __ATOMIC_SEQ_CST);
    logCall(op, n, path);
    for (int i = 0; i < faultCount; ++i)
        if (faults[i].op == op && faults[i].n == n)
            return faults[i].action;
    return ACT_NONE;
}

static int before(int action, const char *path)
{
    if (action == ACT_KILL_BEFORE)
        raise(SIGKILL);
    if (action == ACT_PAUSE)
        pauseHere(path);
    if (action == ACT_EIO || action == ACT_EINTR) {
        errno = action == ACT_EIO ? EIO : EINTR;
        return -1;
    }
    return 0;
}

/* Where a short or half write stops. */
static size_t cutOf(size_t n)
{
    const char *cut = getenv("KELVARO_FAULT_CUT");
    const long at = cut ? strtol(cut, NULL, 10) : 0;
    return at > 0 && (size_t)at < n ? (size_t)at : n / 2;
}

static void after(int action)
{
    if (action == ACT_KILL_AFTER || action == ACT_TORN)
        raise(SIGKILL);
}

/* Shared by the three write calls: `put` does the real write of n bytes. */
#define WRITE_BODY(call)                                                                       \
    char path[4096];                                                                           \
    const int action = actionFor(OP_WRITE, fd, path, sizeof path);                             \
    if (path[0] && pathMatches(path) && __atomic_exchange_n(&failNextWrite, 0, __ATOMIC_SEQ_CST)) { \
        errno = ENOSPC;                                                                        \
        return -1;                                                                             \
    }                                                                                          \
    if (slowMs > 0 && path[0] && pathMatches(path)) {                                                          \
        const struct timespec wait = {slowMs / 1000, (slowMs % 1000) * 1000 * 1000};           \
        nanosleep(&wait, NULL);                                                                \
    }                                                                                          \
    if (before(action, path) < 0)                                                              \
        return -1;                                                                             \
    if ((action == ACT_SHORT || action == ACT_HALF || action == ACT_TORN) && n > 1) {          \
        n = cutOf(n);                                                                          \
        if (action == ACT_SHORT)                                                               \
            __atomic_store_n(&failNextWrite, 1, __ATOMIC_SEQ_CST);                             \
    }                                                                                          \
    const ssize_t done = call;                                                                 \
    after(action);                                                                             \
    return done;

ssize_t write(int fd, const void *data, size_t n)
{
    WRITE_BODY(realWrite(fd, data, n))
}

ssize_t pwrite(int fd, const void *data, size_t n, off_t offset)
{
    WRITE_BODY(realPwrite(fd, data, n, offset))
}

ssize_t pwrite64(int fd, const void *data, size_t n, off64_t offset)
{
    WRITE_BODY(realPwrite64(fd, data, n, offset))
}

ssize_t pread(int fd, void *data, size_t n, off_t offset)
{
    char path[4096];
    const int action = actionFor(OP_READ, fd, path, sizeof path);
    if (before(action, path) < 0)
        return -1;
    const ssize_t done = realPread(fd, data, n, offset);
    after(action);
    return done;
}

ssize_t pread64(int fd, void *data, size_t n, off64_t offset)
{
    char path[4096];
    const int action = actionFor(OP_READ, fd, path, sizeof path);
    if (before(action, path) < 0)
        return -1;
    const ssize_t done = realPread64(fd, data, n, offset);
    after(action);
    return done;
}

int close(int fd)
{
    char path[4096];
    const int action = actionFor(OP_CLOSE, fd, path, sizeof path);
    if (action == ACT_EIO) {
        /* The descriptor is gone all the same, as with a real failed close. */
        realClose(fd);
        errno = EIO;
        return -1;
    }
    if (before(action, path) < 0)
        return -1;
    const int done = realClose(fd);
    after(action);
    return done;
}

static int syncCall(int (*real)(int), int fd)
{
    char path[4096];
    const int action = actionFor(OP_SYNC, fd, path, sizeof path);
    if (before(action, path) < 0)
        return -1;
    const int done = real(fd);
    after(action);
    return done;
}

int fdatasync(int fd)
{
    setUp();
    return syncCall(realFdatasync, fd);
}

int fsync(int fd)
{
    setUp();
    return syncCall(realFsync, fd);
}

int syncfs(int fd)
{
    setUp();
    return syncCall(realSyncfs, fd);
}
