#include "xmppacket.h"

namespace {

constexpr size_t kN = 19;   // "yyyy-MM-ddThh:mm:ss"

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isXmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The end of the optional fraction and zone that may follow a date-time at `at`.
size_t skipFractionAndZone(ConstByteView packet, size_t at)
{
    const size_t size = packet.size();
    if (packet[at] == '.' && isDigit(packet[at + 1])) {
        ++at;
        while (at < size && isDigit(packet[at]))
            ++at;
    }
    if (packet[at] == 'Z') {
        ++at;
    } else if ((packet[at] == '+' || packet[at] == '-') && isDigit(packet[at + 1]) && isDigit(packet[at + 2])) {
        at += 3;
        const size_t colon = packet[at] == ':' ? 1 : 0;
        if (isDigit(packet[at + colon]) && isDigit(packet[at + colon + 1]))
            at += colon + 2;
    }
    return at;
}

} // namespace

std::vector<DateField> XmpPacket::findCopies(ConstByteView packet, uint64_t base, const WallClock &time)
{
    std::vector<DateField> found;
    unsigned char spelled[kN];
    if (!DateCodec::encode(DateEncoding::XmpText, time, spelled))
        return found;
    const char *text = reinterpret_cast<const char *>(spelled);

    const size_t size = packet.size();
    for (size_t t = packet.indexOf('T', 10); t < size; t = packet.indexOf('T', t + 1)) {
        const size_t start = t - 10;
        if (!packet.equals(start, text, kN))
            continue;

        // Opened by a quote or the end of a tag, white space between.
        size_t before = start;
        while (before > 0 && isXmlSpace(packet[before - 1]))
            --before;
        if (before == 0)
            continue;
        const unsigned char open = packet[before - 1];
        if (open != '"' && open != '\'' && open != '>')
            continue;

        // Closed by the same quote or the start of a tag, white space between.
        size_t after = skipFractionAndZone(packet, start + kN);
        while (after < size && isXmlSpace(packet[after]))
            ++after;
        if (after >= size || packet[after] != (open == '>' ? '<' : open))
            continue;

        DateField field;
        field.offset = base + start;
        field.width = uint32_t(kN);
        field.encoding = DateEncoding::XmpText;
        field.role = DateRole::Copy;
        field.value.assign(text, kN);
        found.push_back(field);
        t = start + kN - 1;   // the next value starts after this one
    }
    return found;
}
