#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <cstdio>

// The one line of progress that kelvaro-cli keeps at the bottom of standard
// error while a pass runs, when standard error is a terminal. Every other
// line that goes to the terminal (listed pictures, log lines, questions) is
// written through here, so that it never lands in the middle of the bar: the
// bar is wiped first and drawn again at the next update.
class ProgressLine {
public:
    explicit ProgressLine(bool enabled);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    bool enabled() const { return active; }

    // A new pass: its label and how many pictures it will meet (0: unknown).
    void begin(const QString &label, int total);
    // Redraws the bar when `done` (or the total, when one is given) changed
    // since the last drawing.
    void update(int done, int newTotal = -1);
    // Wipes the bar at the end of a pass.
    void end();

    // Writes whole lines to a stream, safe from any thread.
    void write(FILE *stream, const QByteArray &text);

    // A text for a line of a terminal: UTF-8, with every control character
    // (C0, DEL, C1) written as an escape, "\n", "\t", "\r" or "\u00XX", as
    // in JSON strings; a backslash stays as it is (Windows paths hold them).
    // Paths and texts read from pictures can hold any control character; raw,
    // it would split a line or drive the terminal.
    static QByteArray printable(const QString &text);
    // The same for bytes that need not be UTF-8 (a date text read from a
    // picture): every byte outside printable ASCII becomes "\xHH".
    static QByteArray printableBytes(const QByteArray &bytes);

    // While set, debug log lines are dropped (a pass that repeats one whose
    // lines were already shown).
    void setQuiet(bool quiet);

private:
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void wipe();

    bool active;
    QMutex mutex;
    QString label;
    int total = 0;
    int drawn = -1;          // the count last drawn; -1 when no bar is on screen
    bool quiet = false;
    QtMessageHandler previousHandler = nullptr;
};
