#include "journalline.h"

#include <array>
#include <cstring>

namespace {

constexpr char kSealStart[] = ", \"crc\": \"";
constexpr qsizetype kSealStartLength = sizeof kSealStart - 1;
// `, "crc": "` + 8 hexadecimal digits + `"}` + line feed
constexpr qsizetype kSealLength = kSealStartLength + 8 + 3;

std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? (c >> 1) ^ 0x82F63B78u : c >> 1;   // Castagnoli, reflected
        table[i] = c;
    }
    return table;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

uint32_t JournalLine::crc32c(const char *data, size_t size)
{
    static const std::array<uint32_t, 256> table = makeTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ uint8_t(data[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void JournalLine::end(QByteArray &out, qsizetype start)
{
    static const char hex[] = "0123456789abcdef";
    const uint32_t crc = crc32c(out.constData() + start, size_t(out.size() - start));
    char seal[kSealLength];
    memcpy(seal, kSealStart, size_t(kSealStartLength));
    for (int i = 0; i < 8; ++i)
        seal[kSealStartLength + i] = hex[(crc >> (28 - 4 * i)) & 15];
    memcpy(seal + kSealStartLength + 8, "\"}\n", 3);
    out.append(seal, kSealLength);
}

JournalLine::Seal JournalLine::check(const QByteArray &line)
{
    const qsizetype body = line.size() - kSealLength;
    if (body < 1 || !line.endsWith("\"}\n") || memcmp(line.constData() + body, kSealStart, size_t(kSealStartLength)) != 0)
        return Seal::Unsealed;
    uint32_t recorded = 0;
    for (int i = 0; i < 8; ++i) {
        const int v = hexValue(line.at(body + kSealStartLength + i));
        if (v < 0)
            return Seal::Damaged;
        recorded = recorded << 4 | uint32_t(v);
    }
    return crc32c(line.constData(), size_t(body)) == recorded ? Seal::Sound : Seal::Damaged;
}
