#pragma once

#include <QByteArray>
#include <QString>

// How a journal spells texts from the file system and from pictures (paths,
// runs), which are byte strings: printable ASCII stands for itself, every
// other byte is written as \u00XX, so that a JSON reader gives back each
// byte as one character of the same code.
class JournalText {
public:
    // Appends without building temporaries: the intent lines are written for
    // every picture, so their cost counts.
    static void appendNumber(QByteArray &out, qint64 value);
    static void appendEscaped(QByteArray &out, const char *bytes, qsizetype size);
    static void appendEscaped(QByteArray &out, const QByteArray &bytes)
    {
        appendEscaped(out, bytes.constData(), bytes.size());
    }
    static QByteArray escape(const QByteArray &bytes);
    // The bytes of a text a JSON reader gave back.
    static QByteArray unescape(const QString &text);
    // The picture a line names, read from its text alone (the line may not parse).
    static QByteArray pathIn(const QByteArray &line);
};
