#include "journaltext.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <charconv>

void JournalText::appendNumber(QByteArray &out, qint64 value)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<long long>(value)).ptr;
    out.append(text, end - text);
}

void JournalText::appendEscaped(QByteArray &out, const char *bytes, qsizetype size)
{
    static const char hex[] = "0123456789abcdef";
    qsizetype plain = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const uchar u = uchar(bytes[i]);
        if (u >= 0x20 && u < 0x7F && u != '"' && u != '\\')
            continue;
        out.append(bytes + plain, i - plain);
        const char escaped[6] = {'\\', 'u', '0', '0', hex[u >> 4], hex[u & 15]};
        out.append(escaped, 6);
        plain = i + 1;
    }
    out.append(bytes + plain, size - plain);
}

QByteArray JournalText::escape(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 8);
    appendEscaped(out, bytes);
    return out;
}

QByteArray JournalText::unescape(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text)
        out += char(c.unicode() & 0xFF);
    return out;
}

QByteArray JournalText::pathIn(const QByteArray &line)
{
    static const QByteArray key = "\"path\": \"";
    const qsizetype at = line.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype from = at + key.size(), to = line.indexOf('"', from);
    if (to < 0)
        return {};
    // Read as JSON reads it, so that every \u00XX is its byte again.
    const QJsonArray text = QJsonDocument::fromJson("[\"" + line.mid(from, to - from) + "\"]").array();
    return text.size() == 1 ? unescape(text.at(0).toString()) : QByteArray();
}
