#include "datecodec.h"

#include <climits>
#include <cstring>

namespace {

constexpr int kFirstYear = 1000;
constexpr int kLastYear = 9999;
constexpr int64_t kSecondsPerDay = 86400;

// Seconds from 1904-01-01 00:00:00 to 1970-01-01 00:00:00 (66 years, 17 of them leap years).
constexpr int64_t k1904To1970 = (66 * 365 + 17) * kSecondsPerDay;

bool isLeapYear(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Floor division and its remainder, for negative numbers too.
int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days from 1970-01-01 to the given civil date of the proleptic Gregorian
// calendar, counting in 400-year eras of 146097 days that begin on 1 March.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = floorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;                              // 0..399
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int64_t *year, int *month, int *day)
{
    days += 719468;
    const int64_t era = floorDiv(days, 146097);
    const int64_t dayOfEra = days - era * 146097;                                        // 0..146096
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;                              // 0 = March
    *day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    *month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

bool digits(const unsigned char *bytes, int count, int *value)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return false;
        v = v * 10 + (bytes[i] - '0');
    }
    *value = v;
    return true;
}

void putDigits(unsigned char *out, int count, int value)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<unsigned char>('0' + value % 10);
        value /= 10;
    }
}

// "yyyy?MM?dd?hh?mm?ss" with the given separators.
bool decodeText(const unsigned char *b, char dateSeparator, char middle, WallClock *t)
{
    if (b[4] != dateSeparator || b[7] != dateSeparator || b[10] != middle || b[13] != ':' || b[16] != ':')
        return false;
    return digits(b, 4, &t->year) && digits(b + 5, 2, &t->month) && digits(b + 8, 2, &t->day)
           && digits(b + 11, 2, &t->hour) && digits(b + 14, 2, &t->minute) && digits(b + 17, 2, &t->second);
}

void encodeText(const WallClock &t, char dateSeparator, char middle, unsigned char *out)
{
    putDigits(out, 4, t.year);
    out[4] = static_cast<unsigned char>(dateSeparator);
    putDigits(out + 5, 2, t.month);
    out[7] = static_cast<unsigned char>(dateSeparator);
    putDigits(out + 8, 2, t.day);
    out[10] = static_cast<unsigned char>(middle);
    putDigits(out + 11, 2, t.hour);
    out[13] = ':';
    putDigits(out + 14, 2, t.minute);
    out[16] = ':';
    putDigits(out + 17, 2, t.second);
}

// An AVI's IDIT text: "WWW MMM dd hh:mm:ss yyyy", names in upper case.
constexpr char kWeekdays[7][4] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr char kMonths[12][4] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// 0 for Sunday; 1970-01-01 was a Thursday.
int weekday(const WallClock &t)
{
    const int64_t days = daysFromCivil(t.year, t.month, t.day);
    return int(days - floorDiv(days + 4, 7) * 7 + 4);
}

// The day is two digits from 10 on: how a camera spells the days 1 to 9 is
// not known, so such a text is no time here and no time is written as one.
bool decodeRiff(const unsigned char *b, WallClock *t)
{
    if (b[3] != ' ' || b[7] != ' ' || b[10] != ' ' || b[13] != ':' || b[16] != ':' || b[19] != ' ')
        return false;
    t->month = 0;
    for (int m = 0; m < 12; ++m)
        if (std::memcmp(b + 4, kMonths[m], 3) == 0)
            t->month = m + 1;
    // The day as C's asctime() writes it, which the text follows: a space
    // before a single digit.
    const bool oneDigit = b[8] == ' ' && b[9] != '0' && digits(b + 9, 1, &t->day);
    if (t->month == 0 || b[8] == '0' || !(oneDigit || digits(b + 8, 2, &t->day)) || !digits(b + 11, 2, &t->hour)
        || !digits(b + 14, 2, &t->minute) || !digits(b + 17, 2, &t->second) || !digits(b + 20, 4, &t->year))
        return false;
    // The weekday belongs to the date: one that does not is no time.
    return DateCodec::isValid(*t) && std::memcmp(b, kWeekdays[weekday(*t)], 3) == 0;
}

bool encodeRiff(const WallClock &t, unsigned char *out)
{
    std::memcpy(out, kWeekdays[weekday(t)], 3);
    out[3] = ' ';
    std::memcpy(out + 4, kMonths[t.month - 1], 3);
    out[7] = ' ';
    putDigits(out + 8, 2, t.day);
    if (t.day < 10)
        out[8] = ' ';
    out[10] = ' ';
    putDigits(out + 11, 2, t.hour);
    out[13] = ':';
    putDigits(out + 14, 2, t.minute);
    out[16] = ':';
    putDigits(out + 17, 2, t.second);
    out[19] = ' ';
    putDigits(out + 20, 4, t.year);
    return true;
}

} // namespace

bool WallClock::operator==(const WallClock &o) const
{
    return year == o.year && month == o.month && day == o.day && hour == o.hour && minute == o.minute
           && second == o.second;
}

bool DateCodec::isValid(const WallClock &t)
{
    return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= 12 && t.day >= 1
           && t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0
           && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

bool DateCodec::spellsPair(const unsigned char *from, const unsigned char *to, size_t n, const WallClock &before,
                           const WallClock &after)
{
    static constexpr DateEncoding all[] = {DateEncoding::ExifText,       DateEncoding::XmpText,
                                           DateEncoding::IptcDate,       DateEncoding::IptcTime,
                                           DateEncoding::Seconds1904x32, DateEncoding::Seconds1904x64,
                                           DateEncoding::Seconds1970x32LE, DateEncoding::RiffText};
    unsigned char a[32], b[32];
    for (DateEncoding e : all) {
        if (width(e) != n || !encode(e, before, a) || !encode(e, after, b))
            continue;
        if (std::memcmp(a, from, n) == 0 && std::memcmp(b, to, n) == 0)
            return true;
    }
    return false;
}

bool DateCodec::spellsShift(const unsigned char *from, const unsigned char *to, size_t n, int64_t seconds,
                            WallClock *was)
{
    static constexpr DateEncoding whole[] = {DateEncoding::ExifText, DateEncoding::XmpText,
                                             DateEncoding::Seconds1904x32, DateEncoding::Seconds1904x64,
                                             DateEncoding::Seconds1970x32LE, DateEncoding::RiffText};
    for (DateEncoding e : whole) {
        WallClock a, b;
        if (width(e) == n && decode(e, from, n, &a) && decode(e, to, n, &b)
            && toEpochSeconds(b) - toEpochSeconds(a) == seconds) {
            unsigned char again[32];
            // Only the very spelling the encoding writes (no other bytes in it).
            if (encode(e, b, again) && std::memcmp(again, to, n) == 0 && encode(e, a, again)
                && std::memcmp(again, from, n) == 0) {
                if (was)
                    *was = a;
                return true;
            }
        }
    }
    return false;
}

bool DateCodec::limits(DateEncoding encoding, int64_t *first, int64_t *last)
{
    // 0 is "not set" in each of them: the first time is one second later.
    const int64_t from1904 = toEpochSeconds(WallClock{1904, 1, 1, 0, 0, 0});
    switch (encoding) {
    case DateEncoding::Seconds1904x32:
        *first = from1904 + 1;
        *last = from1904 + int64_t(UINT32_MAX);
        return true;
    case DateEncoding::Seconds1970x32LE:
        *first = 1;
        *last = int64_t(UINT32_MAX);
        return true;
    default:
        return false;
    }
}

uint32_t DateCodec::width(DateEncoding encoding)
{
    switch (encoding) {
    case DateEncoding::ExifText:
    case DateEncoding::XmpText:
        return 19;
    case DateEncoding::IptcDate:
        return 8;
    case DateEncoding::IptcTime:
        return 6;
    case DateEncoding::Seconds1904x32:
    case DateEncoding::Seconds1970x32LE:
        return 4;
    case DateEncoding::Seconds1904x64:
        return 8;
    case DateEncoding::RiffText:
        return 24;
    }
    return 0;
}

bool DateCodec::decode(DateEncoding encoding, const unsigned char *bytes, size_t n, WallClock *time)
{
    if (!bytes || n != width(encoding))
        return false;
    WallClock t;
    bool read = false;
    switch (encoding) {
    case DateEncoding::ExifText:
        read = decodeText(bytes, ':', ' ', &t);
        break;
    case DateEncoding::XmpText:
        read = decodeText(bytes, '-', 'T', &t);
        break;
    case DateEncoding::IptcDate:
        read = digits(bytes, 4, &t.year) && digits(bytes + 4, 2, &t.month) && digits(bytes + 6, 2, &t.day);
        break;
    case DateEncoding::IptcTime:
        t.year = 1904;
        t.month = t.day = 1;
        read = digits(bytes, 2, &t.hour) && digits(bytes + 2, 2, &t.minute) && digits(bytes + 4, 2, &t.second);
        break;
    case DateEncoding::Seconds1904x32:
    case DateEncoding::Seconds1904x64: {
        uint64_t seconds = 0;
        for (size_t i = 0; i < n; ++i)
            seconds = seconds << 8 | bytes[i];
        // Beyond about 2^38 seconds lies no year up to 9999; the bound keeps
        // the sum below from overflowing.
        if (seconds == 0 || seconds > (uint64_t(1) << 40))
            return false;
        t = fromEpochSeconds(int64_t(seconds) - k1904To1970);
        read = true;
        break;
    }
    case DateEncoding::Seconds1970x32LE: {
        const uint32_t seconds = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16
                                 | uint32_t(bytes[3]) << 24;
        if (seconds == 0)   // "not set"
            return false;
        t = fromEpochSeconds(int64_t(seconds));
        read = true;
        break;
    }
    case DateEncoding::RiffText:
        read = decodeRiff(bytes, &t);
        break;
    }
    if (!read || !isValid(t))
        return false;
    *time = t;
    return true;
}

bool DateCodec::encode(DateEncoding encoding, const WallClock &time, unsigned char *out)
{
    if (!out || !isValid(time))
        return false;
    switch (encoding) {
    case DateEncoding::ExifText:
        encodeText(time, ':', ' ', out);
        return true;
    case DateEncoding::XmpText:
        encodeText(time, '-', 'T', out);
        return true;
    case DateEncoding::IptcDate:
        putDigits(out, 4, time.year);
        putDigits(out + 4, 2, time.month);
        putDigits(out + 6, 2, time.day);
        return true;
    case DateEncoding::IptcTime:
        putDigits(out, 2, time.hour);
        putDigits(out + 2, 2, time.minute);
        putDigits(out + 4, 2, time.second);
        return true;
    case DateEncoding::Seconds1904x32:
    case DateEncoding::Seconds1904x64: {
        // Zero stands for "not set", and a time before 1904 has no count.
        const int64_t seconds = toEpochSeconds(time) + k1904To1970;
        const size_t n = width(encoding);
        if (seconds <= 0 || (n == 4 && seconds > int64_t(UINT32_MAX)))
            return false;
        uint64_t v = uint64_t(seconds);
        for (size_t i = n; i > 0; --i) {
            out[i - 1] = static_cast<unsigned char>(v & 0xFF);
            v >>= 8;
        }
        return true;
    }
    case DateEncoding::Seconds1970x32LE: {
        // Zero stands for "not set"; 32 bits end in 2106.
        const int64_t seconds = toEpochSeconds(time);
        if (seconds <= 0 || seconds > int64_t(UINT32_MAX))
            return false;
        const uint32_t v = uint32_t(seconds);
        out[0] = static_cast<unsigned char>(v & 0xFF);
        out[1] = static_cast<unsigned char>(v >> 8 & 0xFF);
        out[2] = static_cast<unsigned char>(v >> 16 & 0xFF);
        out[3] = static_cast<unsigned char>(v >> 24);
        return true;
    }
    case DateEncoding::RiffText:
        return encodeRiff(time, out);
    }
    return false;
}

WallClock DateCodec::addSeconds(const WallClock &time, int64_t seconds)
{
    // The sum saturates: a time that far off is no date either way.
    const int64_t base = toEpochSeconds(time);
    int64_t sum;
    if (seconds > 0 && base > INT64_MAX - seconds)
        sum = INT64_MAX;
    else if (seconds < 0 && base < INT64_MIN - seconds)
        sum = INT64_MIN;
    else
        sum = base + seconds;
    return fromEpochSeconds(sum);
}

int64_t DateCodec::toEpochSeconds(const WallClock &t)
{
    // Each field is an int, so none of these products nor their sum can overflow.
    return daysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + int64_t(t.hour) * 3600
           + int64_t(t.minute) * 60 + t.second;
}

WallClock DateCodec::fromEpochSeconds(int64_t seconds)
{
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const int64_t inDay = seconds - days * kSecondsPerDay;
    WallClock t;
    int64_t year = 0;
    civilFromDays(days, &year, &t.month, &t.day);
    // A year beyond the int range cannot be held: it becomes year 0, no date.
    t.year = year >= INT_MIN && year <= INT_MAX ? int(year) : 0;
    t.hour = int(inDay / 3600);
    t.minute = int(inDay / 60 % 60);
    t.second = int(inDay % 60);
    return t;
}
