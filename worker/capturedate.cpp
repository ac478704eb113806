#include "capturedate.h"

#include <QTimeZone>

#include <cstdio>
#ifdef _WIN32
#include <ctime>
#endif

const char *const CaptureDate::pattern = "yyyy:MM:dd hh:mm:ss";

int CaptureDate::colonCount(const char *text, int length)
{
    int colons = 0;
    for (int i = 0; i < length && text[i] != '\0'; ++i)
        colons += text[i] == ':';
    return colons;
}

static bool digits(const char *text, int from, int count, int *value)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    *value = v;
    return true;
}

QDateTime CaptureDate::parse(const char *text, int length)
{
    if (length < textLength)
        return {};
    if (length > textLength && text[textLength] != '\0')
        return {};
    if (text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return {};
    int year, month, day, hour, minute, second;
    if (!digits(text, 0, 4, &year) || !digits(text, 5, 2, &month) || !digits(text, 8, 2, &day)
        || !digits(text, 11, 2, &hour) || !digits(text, 14, 2, &minute)
        || !digits(text, 17, 2, &second))
        return {};
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (year < 1000 || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

QByteArray CaptureDate::format(const QDateTime &date)
{
    if (!date.isValid() || date.date().year() < 1000 || date.date().year() > 9999)
        return {};
    const QDate d = date.date();
    const QTime t = date.time();
    // Written digit by digit: a shift formats each picture's dates a few
    // times, and a formatted print costs many times this.
    char text[textLength];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, d.year(), 4);
    text[4] = ':';
    put(5, d.month(), 2);
    text[7] = ':';
    put(8, d.day(), 2);
    text[10] = ' ';
    put(11, t.hour(), 2);
    text[13] = ':';
    put(14, t.minute(), 2);
    text[16] = ':';
    put(17, t.second(), 2);
    return QByteArray(text, textLength);
}

bool CaptureDate::localInstant(const QDateTime &wallClock, qint64 *secondsSinceEpoch)
{
    if (!wallClock.isValid())
        return false;
    const QDateTime local(wallClock.date(), wallClock.time(), Qt::LocalTime);
    if (local.isValid() && local.date() == wallClock.date() && local.time() == wallClock.time()) {
        *secondsSinceEpoch = local.toSecsSinceEpoch();
        return true;
    }
    // The wall-clock time does not exist here: it lies in a spring-forward gap.
    // The first instant after the gap is the transition itself.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime from(wallClock.date().addDays(-2), wallClock.time(), Qt::UTC);
    const QTimeZone::OffsetData transition = zone.nextTransition(from);
    if (!transition.atUtc.isValid())
        return false;
    *secondsSinceEpoch = transition.atUtc.toSecsSinceEpoch();
    return true;
}

WallClock CaptureDate::wallClock(const QDateTime &date)
{
    WallClock t;
    if (!date.isValid())
        return t;
    t.year = date.date().year();
    t.month = date.date().month();
    t.day = date.date().day();
    t.hour = date.time().hour();
    t.minute = date.time().minute();
    t.second = date.time().second();
    return t;
}

QDateTime CaptureDate::fromWallClock(const WallClock &t)
{
    if (!DateCodec::isValid(t))
        return {};
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second), Qt::UTC);
}

void CaptureDate::useSystemTimeZone()
{
#ifdef _WIN32
    if (qEnvironmentVariableIsSet("TZ")) {
        qunsetenv("TZ");
        _tzset();   // the C runtime forgets what it may have read already
    }
#endif
}
