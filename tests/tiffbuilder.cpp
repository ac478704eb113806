#include "tiffbuilder.h"

#include <cstring>

namespace tifftest {

Tiff::Tiff(Header h) : header(h), dirs(1) {}

bool Tiff::motorola() const
{
    return header == Header::Motorola || header == Header::BigMotorola || header == Header::OlympusMM;
}

bool Tiff::big() const
{
    return header == Header::BigIntel || header == Header::BigMotorola;
}

int Tiff::addDirectory()
{
    dirs.emplace_back();
    return int(dirs.size()) - 1;
}

void Tiff::put(Bytes &out, uint64_t v, unsigned width) const
{
    for (unsigned i = 0; i < width; ++i) {
        const unsigned shift = motorola() ? 8 * (width - 1 - i) : 8 * i;
        out.push_back(uint8_t(v >> shift));
    }
}

Bytes Tiff::u16(uint16_t v) const
{
    Bytes b;
    put(b, v, 2);
    return b;
}

Bytes Tiff::u32(uint32_t v) const
{
    Bytes b;
    put(b, v, 4);
    return b;
}

Bytes Tiff::u64(uint64_t v) const
{
    Bytes b;
    put(b, v, 8);
    return b;
}

Tiff &Tiff::value(int dir, uint16_t tag, uint16_t type, uint64_t count, const Bytes &v)
{
    Entry e{tag, type, count, v};
    dirs.at(size_t(dir)).entries.push_back(e);
    return *this;
}

Tiff &Tiff::ascii(int dir, uint16_t tag, const std::string &text)
{
    Bytes v(text.begin(), text.end());
    v.push_back(0);
    return value(dir, tag, format::Ascii, v.size(), v);
}

Tiff &Tiff::shortValue(int dir, uint16_t tag, uint16_t v)
{
    return value(dir, tag, format::Short, 1, u16(v));
}

Tiff &Tiff::longValue(int dir, uint16_t tag, uint32_t v)
{
    return value(dir, tag, format::Long, 1, u32(v));
}

Tiff &Tiff::bytes(int dir, uint16_t tag, const Bytes &data, uint16_t type)
{
    return value(dir, tag, type, data.size(), data);
}

Tiff &Tiff::rawEntry(int dir, uint16_t tag, uint16_t type, uint64_t count, uint64_t field)
{
    Entry e{tag, type, count, {}};
    e.verbatim = true;
    e.field = field;
    dirs.at(size_t(dir)).entries.push_back(e);
    return *this;
}

Tiff &Tiff::subDirectory(int dir, uint16_t tag, int child)
{
    return subIfds(dir, {child}).retag(dir, tag);
}

Tiff &Tiff::subIfds(int dir, const std::vector<int> &children)
{
    Entry e{tag::SubIfds, uint16_t(big() ? 18 : format::Long), children.size(), {}};
    e.children = children;
    dirs.at(size_t(dir)).entries.push_back(e);
    return *this;
}

Tiff &Tiff::retag(int dir, uint16_t tag)
{
    dirs.at(size_t(dir)).entries.back().tag = tag;
    return *this;
}

Tiff &Tiff::next(int dir, int child)
{
    dirs.at(size_t(dir)).next = child;
    return *this;
}

Tiff &Tiff::nextRaw(int dir, uint64_t offset)
{
    dirs.at(size_t(dir)).nextVerbatim = true;
    dirs.at(size_t(dir)).nextField = offset;
    return *this;
}

Tiff &Tiff::headerOffset(uint64_t offset)
{
    headerVerbatim = true;
    headerField = offset;
    return *this;
}

Tiff &Tiff::atData(int dir, uint16_t tag, uint16_t type, uint64_t count, int piece, int64_t delta)
{
    Entry e{tag, type, count, {}};
    e.piece = piece;
    e.inField = true;
    e.delta = delta;
    dirs.at(size_t(dir)).entries.push_back(e);
    return *this;
}

Tiff &Tiff::nextData(int dir, int piece)
{
    dirs.at(size_t(dir)).nextPiece = piece;
    return *this;
}

int Tiff::addData(const Bytes &data)
{
    pieces.push_back({data, 0});
    return int(pieces.size()) - 1;
}

Tiff &Tiff::pieceEntry(int dir, uint16_t tag, int piece, bool length)
{
    Entry e{tag, uint16_t(big() ? 16 : format::Long), 1, {}};
    e.piece = piece;
    e.length = length;
    dirs.at(size_t(dir)).entries.push_back(e);
    return *this;
}

Tiff &Tiff::image(int dir, uint64_t n, uint16_t compression)
{
    pieces.push_back({{}, n});
    const int piece = int(pieces.size()) - 1;
    return shortValue(dir, tag::Compression, compression).pieceEntry(dir, tag::StripOffsets, piece, false)
        .pieceEntry(dir, tag::StripByteCounts, piece, true);
}

Tiff &Tiff::jpegStrip(int dir, const Bytes &jpeg)
{
    const int piece = addData(jpeg);
    return shortValue(dir, tag::Compression, 7).pieceEntry(dir, tag::StripOffsets, piece, false)
        .pieceEntry(dir, tag::StripByteCounts, piece, true);
}

Tiff &Tiff::jpeg(int dir, const Bytes &jpeg)
{
    const int piece = addData(jpeg);
    return pieceEntry(dir, tag::ThumbnailOffset, piece, false).pieceEntry(dir, tag::ThumbnailLength, piece, true);
}

Tiff &Tiff::dataFirst()
{
    piecesFirst = true;
    return *this;
}

Bytes Tiff::bytes() const
{
    const unsigned countSize = big() ? 8 : 2, entrySize = big() ? 20 : 12, field = big() ? 8 : 4;
    const uint64_t headerSize = big() ? 16 : 8;
    auto pieceSize = [](const Piece &p) { return p.filler ? p.filler : uint64_t(p.data.size()); };
    auto outOfLine = [&](const Entry &e) -> uint64_t {
        const uint64_t n = e.children.empty() ? e.data.size() : e.children.size() * field;
        return e.verbatim || e.piece >= 0 || n <= field ? 0 : n + (n & 1);
    };

    // Where each directory and piece goes.
    std::vector<uint64_t> dirAt(dirs.size()), pieceAt(pieces.size());
    uint64_t at = headerSize;
    auto placePieces = [&] {
        for (size_t i = 0; i < pieces.size(); ++i) {
            pieceAt[i] = at;
            at += pieceSize(pieces[i]) + (pieceSize(pieces[i]) & 1);
        }
    };
    if (piecesFirst)
        placePieces();
    for (size_t d = 0; d < dirs.size(); ++d) {
        dirAt[d] = at;
        at += countSize + entrySize * dirs[d].entries.size() + field;
        for (const Entry &e : dirs[d].entries)
            at += outOfLine(e);
    }
    if (!piecesFirst)
        placePieces();

    Bytes out;
    out.reserve(size_t(at));
    const bool m = motorola();
    switch (header) {
    case Header::Panasonic: out = {'I', 'I', 'U', 0}; break;
    case Header::OlympusRO: out = {'I', 'I', 'R', 'O'}; break;
    case Header::OlympusRS: out = {'I', 'I', 'R', 'S'}; break;
    case Header::OlympusMM: out = {'M', 'M', 'O', 'R'}; break;
    default:
        out = {uint8_t(m ? 'M' : 'I'), uint8_t(m ? 'M' : 'I')};
        put(out, big() ? 43 : 42, 2);
    }
    if (big()) {
        put(out, 8, 2);
        put(out, 0, 2);
    }
    put(out, headerVerbatim ? headerField : dirAt.empty() ? 0 : dirAt[0], field);

    auto writePieces = [&] {
        for (size_t i = 0; i < pieces.size(); ++i) {
            out.resize(size_t(pieceAt[i]), 0);
            if (pieces[i].filler)
                for (uint64_t j = 0; j < pieces[i].filler; ++j)
                    out.push_back(uint8_t((j * 131 + 7) % 255));
            else
                out.insert(out.end(), pieces[i].data.begin(), pieces[i].data.end());
        }
    };
    if (piecesFirst)
        writePieces();
    for (size_t d = 0; d < dirs.size(); ++d) {
        const Directory &dir = dirs[d];
        out.resize(size_t(dirAt[d]), 0);
        uint64_t dataAt = dirAt[d] + countSize + entrySize * dir.entries.size() + field;
        Bytes data;
        put(out, dir.entries.size(), countSize);
        for (const Entry &e : dir.entries) {
            put(out, e.tag, 2);
            put(out, e.type, 2);
            put(out, e.count, big() ? 8 : 4);
            Bytes v = e.data;
            if (!e.children.empty()) {
                v.clear();
                for (int child : e.children)
                    put(v, dirAt.at(size_t(child)), field);
            } else if (e.piece >= 0 && !e.inField) {
                v.clear();
                const size_t p = size_t(e.piece);
                put(v, e.length ? pieceSize(pieces.at(p)) : pieceAt.at(p), field);
            }
            if (e.inField) {
                put(out, pieceAt.at(size_t(e.piece)) + uint64_t(e.delta), field);
            } else if (e.verbatim) {
                put(out, e.field, field);
            } else if (v.size() <= field) {
                v.resize(field, 0);
                out.insert(out.end(), v.begin(), v.end());
            } else {
                put(out, dataAt + data.size(), field);
                data.insert(data.end(), v.begin(), v.end());
                if (v.size() & 1)
                    data.push_back(0);
            }
        }
        uint64_t link = 0;
        if (dir.nextVerbatim)
            link = dir.nextField;
        else if (dir.next >= 0)
            link = dirAt.at(size_t(dir.next));
        else if (dir.nextPiece >= 0)
            link = pieceAt.at(size_t(dir.nextPiece));
        put(out, link, field);
        out.insert(out.end(), data.begin(), data.end());
    }
    if (!piecesFirst)
        writePieces();
    out.resize(size_t(at), 0);
    return out;
}

Bytes digestResource(const Bytes &sixteen)
{
    Bytes out = {'8', 'B', 'I', 'M', 0x04, 0x25, 0, 0, 0, 0, 0, uint8_t(sixteen.size())};
    out.insert(out.end(), sixteen.begin(), sixteen.end());
    return out;
}

} // namespace tifftest
