#include "isobmffreader.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint64_t be64(const unsigned char *p)
{
    return uint64_t(be32(p)) << 32 | be32(p + 4);
}

} // namespace

bool IsobmffReader::read(uint64_t offset, void *to, size_t n)
{
    if (!file.readAt(offset, to, n))
        return false;
    furthest = std::max(furthest, offset + n);
    return true;
}

bool IsobmffReader::header(uint64_t at, uint64_t limit, int depth, IsoBox *box)
{
    // Size and type, then the large size when the size is 1, then the
    // extended type of a 'uuid' box: each read only when it is there.
    unsigned char head[16];
    if (limit - at < 8 || !read(at, head, 8))
        return false;
    *box = IsoBox();
    box->offset = at;
    box->depth = depth;
    box->type = be32(head + 4);
    uint64_t size = be32(head);
    uint64_t body = at + 8;
    if (size == 1) {
        if (limit - body < 8 || !read(body, head + 8, 8))
            return false;
        size = be64(head + 8);
        body += 8;
    } else if (size == 0) {
        size = limit - at;
    }
    if (box->type == fourcc("uuid")) {
        if (limit - body < 16 || !read(body, box->uuid, 16))
            return false;
        body += 16;
    }
    // The box holds its own header and ends within its parent.
    if (size < body - at || size > limit - at)
        return false;
    box->body = body;
    box->end = at + size;
    return true;
}

bool IsobmffReader::walk(uint64_t begin, uint64_t end, int depth, std::vector<IsoBox> *out)
{
    out->clear();
    if (depth > kMaxDepth || begin > end)
        return false;
    // Every box holds at least its 8-byte header, so each step moves on:
    // the walk ends, and after at most kMaxChildren boxes.
    for (uint64_t at = begin; at < end;) {
        IsoBox box;
        if (int(out->size()) == kMaxChildren || !header(at, end, depth, &box))
            return false;
        out->push_back(box);
        at = box.end;
    }
    return true;
}

bool IsobmffReader::topLevel(std::vector<IsoBox> *out)
{
    return walk(0, file.size(), 0, out);
}

bool IsobmffReader::children(const IsoBox &parent, uint64_t skip, std::vector<IsoBox> *out)
{
    if (skip > parent.bodySize()) {
        out->clear();
        return false;
    }
    return walk(parent.body + skip, parent.end, parent.depth + 1, out);
}

const IsoBox *IsobmffReader::first(const std::vector<IsoBox> &boxes, uint32_t type)
{
    for (const IsoBox &box : boxes)
        if (box.type == type)
            return &box;
    return nullptr;
}

bool IsobmffReader::fullBox(const IsoBox &box, uint8_t *version, uint32_t *flags)
{
    unsigned char head[4];
    if (box.bodySize() < 4 || !read(box.body, head, 4))
        return false;
    *version = head[0];
    *flags = be32(head) & 0xFFFFFF;
    return true;
}

bool IsobmffReader::contents(const IsoBox &box, uint64_t skip, size_t limit, std::vector<unsigned char> *out)
{
    out->clear();
    if (skip > box.bodySize() || box.bodySize() - skip > limit)
        return false;
    const size_t n = size_t(box.bodySize() - skip);
    out->resize(n);
    if (n > 0 && !read(box.body + skip, out->data(), n)) {
        out->clear();
        return false;
    }
    return true;
}
