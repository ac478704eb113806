#include "quicktimetext.h"

namespace {

bool digit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// The "dddd-dd-ddTdd:dd:dd" shape, digits not checked for range.
bool shaped(const unsigned char *p)
{
    static const char pattern[] = "dddd-dd-ddTdd:dd:dd";
    for (size_t i = 0; i < QuickTimeText::kWallLength; ++i)
        if (pattern[i] == 'd' ? !digit(p[i]) : p[i] != static_cast<unsigned char>(pattern[i]))
            return false;
    return true;
}

int two(const unsigned char *p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// Reads the time at `text` and what follows it; `*used` is how many bytes
// it took.
bool readTime(const unsigned char *text, size_t n, ZonedTime *out, size_t *used)
{
    *out = ZonedTime();
    if (!text || n < QuickTimeText::kWallLength || !DateCodec::decode(DateEncoding::XmpText, text,
                                                                      QuickTimeText::kWallLength, &out->wall))
        return false;
    size_t at = QuickTimeText::kWallLength;
    if (at + 1 < n && (text[at] == '.' || text[at] == ',') && digit(text[at + 1])) {
        ++at;
        while (at < n && digit(text[at]))
            ++at;
    }
    if (at < n && text[at] == 'Z') {
        out->zoned = out->utc = true;
        ++at;
    } else if (at + 1 < n && (text[at] == '+' || text[at] == '-') && digit(text[at + 1])) {
        // "+hh:mm", "+hhmm", "+hh", and the hours in one digit as some
        // cameras write them ("+1:00", "+1").
        const int sign = text[at] == '-' ? -1 : 1;
        const bool twoDigits = at + 2 < n && digit(text[at + 2]);
        const int hours = twoDigits ? two(text + at + 1) : text[at + 1] - '0';
        int minutes = 0;
        at += twoDigits ? 3 : 2;
        if (at + 2 < n && text[at] == ':' && digit(text[at + 1]) && digit(text[at + 2])) {
            minutes = two(text + at + 1);
            at += 3;
        } else if (twoDigits && at + 1 < n && digit(text[at]) && digit(text[at + 1])) {
            minutes = two(text + at);
            at += 2;
        }
        if (hours > 14 || minutes > 59)
            return false;
        out->zoned = true;
        out->zoneSeconds = sign * (hours * 3600 + minutes * 60);
    }
    *used = at;
    return true;
}

} // namespace

bool QuickTimeText::parse(const unsigned char *text, size_t n, ZonedTime *out)
{
    size_t used = 0;
    if (!readTime(text, n, out, &used))
        return false;
    for (size_t i = used; i < n; ++i)
        if (text[i] != 0)
            return false;
    return true;
}

bool QuickTimeText::parseStart(const unsigned char *text, size_t n, ZonedTime *out)
{
    size_t used = 0;
    return readTime(text, n, out, &used);
}

size_t QuickTimeText::find(const unsigned char *text, size_t n, size_t from)
{
    for (size_t at = from; n >= kWallLength && at <= n - kWallLength; ++at)
        if (shaped(text + at))
            return at;
    return n;
}
