#include "xmppacket.h"

namespace {

constexpr size_t kN = 19;   // "yyyy-MM-ddThh:mm:ss"

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isXmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The longest text after a date-time that still counts as part of its value:
// a fraction of a second and a zone, also one spelled oddly ("+1:00", "+1"),
// with room to spare. Bounding it keeps the search linear in the packet.
constexpr size_t kMaxSuffix = 64;

// What may follow the seconds inside a date-time value: a fraction, a zone
// (also one spelled oddly) and white space. A value that goes on with other
// text ("2012-05-06T10:00:00 Birthday" in a title) is the user's words, not
// a date, and stays as written.
bool isTimeSuffix(unsigned char c)
{
    return isDigit(c) || isXmlSpace(c) || c == '.' || c == ',' || c == ':' || c == '+' || c == '-' || c == 'Z'
           || c == 'z';
}

// Whether the value that holds a date-time ending at `at` closes with `close`
// within kMaxSuffix bytes of what follows the date-time, all of it such as
// may follow the seconds. A digit right after the seconds makes another
// number, and markup before the close means the date-time did not start a
// whole value.
bool valueCloses(ConstByteView packet, size_t at, unsigned char close)
{
    if (isDigit(packet[at]))
        return false;
    const size_t size = packet.size();
    for (size_t n = 0; at < size && n <= kMaxSuffix; ++at, ++n) {
        const unsigned char c = packet[at];
        if (c == close)
            return true;
        if (!isTimeSuffix(c))
            return false;
    }
    return false;
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

        // Closed by the same quote or the start of a tag. What lies between
        // (a fraction, a zone, white space) stays as written.
        if (!valueCloses(packet, start + kN, open == '>' ? '<' : open))
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
