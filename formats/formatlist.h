#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fileformat.h"

// Every format Kelvaro knows, in the order they are asked.
class FormatList {
public:
    static const std::vector<const FileFormat *> &all();
    // The format that claims a file by its first bytes; null when none does.
    static const FileFormat *forContent(const unsigned char *head, size_t n);
    // True when `extension` (without the dot, any letter case) is one a format declares.
    static bool isCandidate(const char *extension, size_t n);
};
