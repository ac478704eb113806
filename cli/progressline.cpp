#include "progressline.h"

#include "pathbytes.h"
#include "terminalenglish.h"

#include <QMutexLocker>

namespace {
ProgressLine *current = nullptr;   // the line that the message handler writes around
constexpr int barWidth = 30;
}

ProgressLine::ProgressLine(bool enabled) : active(enabled)
{
    current = this;
    // Log lines still go through the default handler, with its format; only
    // the bar is wiped before them.
    previousHandler = qInstallMessageHandler(handleMessage);
}

ProgressLine::~ProgressLine()
{
    end();
    qInstallMessageHandler(previousHandler);
    current = nullptr;
}

void ProgressLine::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    ProgressLine *self = current;
    if (!self)
        return;
    QMutexLocker lock(&self->mutex);
    if (self->quiet && type == QtDebugMsg)
        return;
    self->wipe();
    // Log lines name paths: they reach the terminal escaped like every other line.
    if (self->previousHandler)
        self->previousHandler(type, context, QString::fromUtf8(printable(message)));
}

void ProgressLine::wipe()
{
    if (drawn < 0)
        return;
    fputs("\r\033[K", stderr);
    fflush(stderr);
    drawn = -1;
}

void ProgressLine::begin(const QString &newLabel, int newTotal)
{
    QMutexLocker lock(&mutex);
    wipe();
    label = newLabel;
    total = newTotal;
}

void ProgressLine::update(int done, int newTotal)
{
    if (!active)
        return;
    QMutexLocker lock(&mutex);
    if (done == drawn && (newTotal < 0 || newTotal == total))
        return;
    if (newTotal >= 0)
        total = newTotal;
    QByteArray line = "\r" + label.toUtf8().leftJustified(14, ' ');
    if (total > 0) {
        const int filled = int(qint64(barWidth) * qMin(done, total) / total);
        line += '[' + QByteArray(filled, '#') + QByteArray(barWidth - filled, '-') + "] "
                + QByteArray::number(done) + '/' + QByteArray::number(total);
    } else {
        line += TerminalEnglish::count(done, "picture", "pictures");
    }
    line += "\033[K";
    fwrite(line.constData(), 1, size_t(line.size()), stderr);
    fflush(stderr);
    drawn = done;
}

void ProgressLine::end()
{
    QMutexLocker lock(&mutex);
    wipe();
}

void ProgressLine::write(FILE *stream, const QByteArray &text)
{
    QMutexLocker lock(&mutex);
    wipe();
    fwrite(text.constData(), 1, size_t(text.size()), stream);
    if (active)
        fflush(stream);   // before the bar comes back
}

void ProgressLine::setQuiet(bool on)
{
    QMutexLocker lock(&mutex);
    quiet = on;
}

QByteArray ProgressLine::printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        const int byte = PathBytes::escapedByte(text, i);
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (byte >= 0)
            out += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));   // a byte of a name that is not UTF-8
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out.toUtf8();
}

QByteArray ProgressLine::printableBytes(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const uchar b = uchar(c);
        if (b < 0x20 || b >= 0x7f)
            out += "\\x" + QByteArray::number(b, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}
