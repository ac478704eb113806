/* The floor of the benchmark: what patching the dates in every picture costs
 * at the least.
 *   kelvaro-floor [-2] [-j N] DIR
 *
 * One pass (the default): walks the tree and, per picture, only opens it,
 * reads its first 64 KB once (where a camera's EXIF header lies: any reader
 * of the capture date reads that much), writes 19 bytes back in place (the
 * same bytes: the tree stays as it was), closes it and sets its file times.
 *
 * Two passes (-2), as a shift that reads every date before it writes any:
 *   1. every picture is opened, its first 64 KB (or the whole file, if
 *      shorter) read and closed; the bytes from the first date-looking run
 *      ("yyyy:MM:dd hh:mm:ss") of its leading APP1 segment to the end of the
 *      last one are its span (the first 4 KB if there is none);
 *   2. only then each is opened again for reading and writing, its span read
 *      back and written unchanged with one pwrite, its access and
 *      modification times set with futimens, and closed.
 *
 * With -j 1 (the default) one picture is in flight at a time; a single pass
 * patches each picture as the walk meets it. With -j N the pictures are
 * listed first, then N threads take them from the list in turn, so that N
 * pictures are in flight at any time (in each pass).
 * It fails (exit 1) if any picture could not be patched.
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { headerSize = 65536, dateLength = 19, fallbackSpan = 4096 };

static long pictures;
static long failures;
static pthread_mutex_t countLock = PTHREAD_MUTEX_INITIALIZER;

static char **list;
static size_t listed, listCapacity;
static size_t nextInList;

/* Per listed picture, the span of the second pass; length 0 once its first
 * pass has failed. */
struct Span {
    unsigned from, length;
};
static struct Span *spans;

static _Thread_local unsigned char header[headerSize];

static int isPicture(const char *name)
{
    size_t n = strlen(name);
    return n >= 3 && strcasecmp(name + n - 3, "jpg") == 0;
}

static void count(const char *path, int error)
{
    if (error)
        fprintf(stderr, "kelvaro-floor: %s: %s\n", path, strerror(error));
    pthread_mutex_lock(&countLock);
    ++*(error ? &failures : &pictures);
    pthread_mutex_unlock(&countLock);
}

static void patch(const char *path)
{
    int error = 0;
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
    } else {
        ssize_t got = read(fd, header, sizeof header);
        if (got < 0)
            error = errno;
        else if (got < 219)
            error = EINVAL;   /* too short to be one of the benchmark's pictures */
        else if (pwrite(fd, header + 200, 19, 200) != 19)
            error = errno ? errno : EIO;
        if (close(fd) != 0 && !error)
            error = errno;
        struct timespec times[2] = {{1336302000, 0}, {1336302000, 0}};
        if (utimensat(AT_FDCWD, path, times, 0) != 0 && !error)
            error = errno;
    }
    count(path, error);
}

static int digits(const unsigned char *text, int n)
{
    for (int i = 0; i < n; ++i)
        if (text[i] < '0' || text[i] > '9')
            return 0;
    return 1;
}

static int isDate(const unsigned char *text)
{
    return digits(text, 4) && text[4] == ':' && digits(text + 5, 2) && text[7] == ':'
        && digits(text + 8, 2) && text[10] == ' ' && digits(text + 11, 2) && text[13] == ':'
        && digits(text + 14, 2) && text[16] == ':' && digits(text + 17, 2);
}

/* The span from the first date-looking run to the end of the last one. Only
 * the leading APP1 segment (the EXIF block) is searched when the picture
 * starts with one, so that no run of the compressed image counts. The
 * search stops only at colons: the first colon of a run is its fifth byte,
 * and searching backwards, the last colon met of the last run its 17th. */
static struct Span findSpan(const unsigned char *data, size_t size)
{
    size_t end = size;
    if (size >= 6 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF && data[3] == 0xE1) {
        size_t segmentEnd = 4 + ((size_t)data[4] << 8 | data[5]);
        if (segmentEnd < end)
            end = segmentEnd;
    }
    long first = -1, last = -1;
    for (size_t at = 4; at + dateLength - 4 <= end;) {
        const unsigned char *colon = memchr(data + at, ':', end - at - (dateLength - 5));
        if (!colon)
            break;
        size_t start = (size_t)(colon - data) - 4;
        if (isDate(data + start)) {
            first = (long)start;
            break;
        }
        at = (size_t)(colon - data) + 1;
    }
    for (size_t limit = end - 2; first >= 0 && limit > (size_t)first + 16;) {
        const unsigned char *colon = memrchr(data + first + 16, ':', limit - (size_t)first - 16);
        if (!colon)
            break;
        size_t start = (size_t)(colon - data) - 16;
        if (isDate(data + start)) {
            last = (long)start;
            break;
        }
        limit = (size_t)(colon - data);
    }
    struct Span span;
    if (first < 0) {
        span.from = 0;
        span.length = size < fallbackSpan ? (unsigned)size : fallbackSpan;
    } else {
        span.from = (unsigned)first;
        span.length = (unsigned)((last >= 0 ? last : first) + dateLength - first);
    }
    return span;
}

/* The first pass of two: reads the picture's header and finds its span. */
static void readHeader(size_t index)
{
    const char *path = list[index];
    int error = 0;
    spans[index].length = 0;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
    } else {
        ssize_t got = read(fd, header, sizeof header);
        if (got < 0)
            error = errno;
        else if (got == 0)
            error = EINVAL;   /* nothing to patch */
        else
            spans[index] = findSpan(header, (size_t)got);
        if (close(fd) != 0 && !error) {
            error = errno;
            spans[index].length = 0;
        }
    }
    if (error)
        count(path, error);
}

/* The second pass: writes the span back and sets the picture's times. */
static void writeSpan(size_t index)
{
    const char *path = list[index];
    const struct Span span = spans[index];
    if (span.length == 0)
        return;   /* counted as failed in the first pass */
    int error = 0;
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
    } else {
        ssize_t got = pread(fd, header, span.length, span.from);
        if (got != (ssize_t)span.length)
            error = got < 0 ? errno : EIO;
        else if (pwrite(fd, header, span.length, span.from) != (ssize_t)span.length)
            error = errno ? errno : EIO;
        struct timespec times[2] = {{1336302000, 0}, {1336302000, 0}};
        if (!error && futimens(fd, times) != 0)
            error = errno;
        if (close(fd) != 0 && !error)
            error = errno;
    }
    count(path, error);
}

static void patchListed(size_t index)
{
    patch(list[index]);
}

static void remember(const char *path)
{
    if (listed == listCapacity) {
        listCapacity = listCapacity ? 2 * listCapacity : 1024;
        list = realloc(list, listCapacity * sizeof *list);
        if (!list) {
            perror("kelvaro-floor");
            exit(1);
        }
    }
    list[listed] = strdup(path);
    if (!list[listed]) {
        perror("kelvaro-floor");
        exit(1);
    }
    ++listed;
}

/* Patches each picture as it meets it, or only lists it (listOnly). */
static void walk(const char *folder, int listOnly)
{
    DIR *dir = opendir(folder);
    if (!dir) {
        fprintf(stderr, "kelvaro-floor: %s: %s\n", folder, strerror(errno));
        ++failures;
        return;
    }
    struct dirent *entry;
    char path[4096];
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_name[0] == '.')
            continue;
        snprintf(path, sizeof path, "%s/%s", folder, entry->d_name);
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (stat(path, &st) != 0)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR)
            walk(path, listOnly);
        else if (type == DT_REG && isPicture(entry->d_name)) {
            if (listOnly)
                remember(path);
            else
                patch(path);
        }
    }
    closedir(dir);
}

static void (*job)(size_t index);

static void *takeFromList(void *unused)
{
    (void)unused;
    for (;;) {
        size_t index = __atomic_fetch_add(&nextInList, 1, __ATOMIC_RELAXED);
        if (index >= listed)
            return NULL;
        job(index);
    }
}

/* Runs `pass` on every listed picture, `jobs` of them in flight, and
 * returns once all are done. */
static void overList(void (*pass)(size_t), long jobs)
{
    job = pass;
    nextInList = 0;
    pthread_t threads[1024];
    long started = 0;
    for (; jobs > 1 && started < jobs; ++started) {
        int error = pthread_create(&threads[started], NULL, takeFromList, NULL);
        if (error) {
            fprintf(stderr, "kelvaro-floor: cannot start a thread: %s\n", strerror(error));
            break;
        }
    }
    if (started == 0)
        takeFromList(NULL);
    for (long i = 0; i < started; ++i)
        pthread_join(threads[i], NULL);
}

static int usage(const char *program)
{
    fprintf(stderr, "usage: %s [-2] [-j N] DIR\n", program);
    return 2;
}

int main(int argc, char *argv[])
{
    long jobs = 1;
    int twoPasses = 0;
    int option;
    while ((option = getopt(argc, argv, "2j:")) != -1) {
        char *end;
        if (option == '2')
            twoPasses = 1;
        else if (option != 'j' || (jobs = strtol(optarg, &end, 10), *end != '\0') || jobs < 1 || jobs > 1024)
            return usage(argv[0]);
    }
    if (optind != argc - 1)
        return usage(argv[0]);
    const char *top = argv[optind];
    if (jobs == 1 && !twoPasses) {
        walk(top, 0);
    } else {
        walk(top, 1);
        if (twoPasses) {
            spans = calloc(listed ? listed : 1, sizeof *spans);
            if (!spans) {
                perror("kelvaro-floor");
                return 1;
            }
            overList(readHeader, jobs);
            overList(writeSpan, jobs);
            free(spans);
        } else {
            overList(patchListed, jobs);
        }
        for (size_t i = 0; i < listed; ++i)
            free(list[i]);
        free(list);
    }
    printf("%ld pictures\n", pictures);
    if (failures) {
        fprintf(stderr, "kelvaro-floor: %ld failed\n", failures);
        return 1;
    }
    return 0;
}
