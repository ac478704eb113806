#include "x3fformat.h"

#include <cstring>

namespace {

constexpr char kMark[] = {'F', 'O', 'V', 'b'};

} // namespace

const char *X3fFormat::name() const
{
    return "X3F";
}

const char *const *X3fFormat::extensions() const
{
    static const char *const list[] = {"x3f", nullptr};
    return list;
}

bool X3fFormat::sniff(const unsigned char *head, size_t n) const
{
    return n >= sizeof kMark && std::memcmp(head, kMark, sizeof kMark) == 0;
}

bool X3fFormat::locate(ByteSource &file, FoundDates *found) const
{
    *found = FoundDates();
    unsigned char head[sizeof kMark];
    if (!file.readAt(0, head, sizeof head) || !sniff(head, sizeof head))
        return false;
    // Only Sigma writes these files; the mark is all that is read.
    found->unsupported = true;
    found->hasMetadata = true;
    found->make = "SIGMA";
    found->headerEnd = sizeof kMark;
    return true;
}
