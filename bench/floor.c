/* The floor of the benchmark: what patching 19 bytes in every picture costs
 * at the least. Walks the tree and, per picture, only opens it, reads its
 * header once, writes 19 bytes back in place (the same bytes: the tree stays
 * as it was), closes it and sets its file times.
 *   kelvaro-floor DIR
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static long pictures;

static int isPicture(const char *name)
{
    size_t n = strlen(name);
    return n >= 3 && strcasecmp(name + n - 3, "jpg") == 0;
}

static void patch(const char *path)
{
    unsigned char header[4096];
    int fd = open(path, O_RDWR);
    if (fd < 0)
        return;
    ssize_t got = read(fd, header, sizeof header);
    if (got >= 219)
        pwrite(fd, header + 200, 19, 200);
    close(fd);
    struct timespec times[2] = {{1336302000, 0}, {1336302000, 0}};
    utimensat(AT_FDCWD, path, times, 0);
    ++pictures;
}

static void walk(const char *folder)
{
    DIR *dir = opendir(folder);
    if (!dir)
        return;
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
            walk(path);
        else if (type == DT_REG && isPicture(entry->d_name))
            patch(path);
    }
    closedir(dir);
}

int main(int argc, char *argv[])
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    walk(argv[1]);
    printf("%ld pictures\n", pictures);
    return 0;
}
