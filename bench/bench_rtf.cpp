// Reading and writing a 2 MB RTF document with mixed formatting, beside reading the same text as
// plain text. Prints seconds (median of runs) and the process's peak memory after each stage.
#include "Measure.h"
#include "platform/Rtf.h"
#include "platform/TextCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cstdio>

namespace {

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// A document of about `bytes` of RTF: paragraphs of Danish words in changing fonts, sizes,
// colours and styles, some centred, some bulleted.
void fill(QTextDocument &document, qsizetype bytes)
{
    static const char *const words[] = {"blåbær", "rødgrød", "med", "fløde", "æble", "øl", "smør", "og",
                                        "kage", "København", "Århus", "sommer", "vinter", "hus", "brev"};
    static const char *const fonts[] = {"Arial", "Verdana", "Georgia", "Courier New"};
    QRandomGenerator random(42);
    QTextCursor cursor(&document);
    int paragraph = 0;
    while (Platform::writeRtf(&document).size() < bytes) {
        for (int block = 0; block < 200; ++block, ++paragraph) {
            if (paragraph > 0)
                cursor.insertBlock();
            QTextBlockFormat blockFormat;
            blockFormat.setAlignment(paragraph % 7 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
            cursor.setBlockFormat(blockFormat);
            if (paragraph % 11 == 0)
                cursor.createList(QTextListFormat::ListDisc);
            for (int run = 0; run < 6; ++run) {
                QTextCharFormat format;
                format.setFontFamilies({QString::fromLatin1(fonts[random.bounded(4)])});
                format.setFontPointSize(8 + 2 * random.bounded(8));
                format.setFontWeight(random.bounded(3) == 0 ? QFont::Bold : QFont::Normal);
                format.setFontItalic(random.bounded(4) == 0);
                format.setForeground(QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
                QString text;
                for (int w = 0; w < 8; ++w)
                    text += QString::fromUtf8(words[random.bounded(15)]) + QLatin1Char(' ');
                cursor.insertText(text, format);
            }
        }
    }
}

template <typename Work>
double medianSeconds(int runs, Work work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e9;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    Measure::offscreenUnlessChosen();
    QGuiApplication app(argc, argv);
    QTextDocument source;
    fill(source, 2 * 1024 * 1024);
    const QByteArray rtf = Platform::writeRtf(&source);
    const QByteArray plain = source.toPlainText().toUtf8();
    std::printf("document: %lld bytes of RTF, %lld bytes of plain text, %d paragraphs\n", (long long)rtf.size(),
                (long long)plain.size(), source.blockCount());
    std::printf("%-28s %10s %10s\n", "scenario", "seconds", "peak MB");
    std::printf("%-28s %10s %10.1f\n", "document built", "-", peakMegabytes());

    const double plainRead = medianSeconds(5, [&] {
        QTextDocument document;
        document.setPlainText(Platform::decodeText(plain).text);
    });
    std::printf("%-28s %10.3f %10.1f\n", "plain text read", plainRead, peakMegabytes());
    const double read = medianSeconds(5, [&] {
        QTextDocument document;
        Platform::readRtf(rtf, &document);
    });
    std::printf("%-28s %10.3f %10.1f\n", "RTF read", read, peakMegabytes());
    QTextDocument loaded;
    Platform::readRtf(rtf, &loaded);
    const double write = medianSeconds(5, [&] { Platform::writeRtf(&loaded); });
    std::printf("%-28s %10.3f %10.1f\n", "RTF write", write, peakMegabytes());
    return 0;
}
