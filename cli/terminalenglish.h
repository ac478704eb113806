#pragma once

#include <QTranslator>

// The English of kelvaro-cli, installed as its only translator. The texts it
// shares with the window (JobMessages) are written for a message box: the
// plural form whatever the count, and line breaks inside sentences to keep
// the box narrow. In a terminal they read as whole sentences, each count
// with its own singular or plural ("1 picture in 1 folder"); a line break
// stays only where one sentence or paragraph ends. Texts it does not know
// are left to their source.
class TerminalEnglish : public QTranslator {
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override;

    // The form of `one` or `many` that suits the count: "1 picture", "2 pictures".
    static QByteArray count(qint64 n, const char *one, const char *many);
    // A result whose total of pictures is one: "of 1 picture", where the
    // shared text, counting with %2 and not %n, says "of 1 pictures".
    static QByteArray ofTotal(const QByteArray &text, int total);
};
