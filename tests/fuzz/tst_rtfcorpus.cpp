#include "platform/Rtf.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <memory>

using namespace Qt::StringLiterals;

// Replays the fuzzing corpus (tools/fuzz.sh keeps it: small files that between them take every
// branch of the reader, and every input that ever broke it) through the reader, and what it read
// through the writer and the reader again, and through the reader of the text alone.
namespace {

std::unique_ptr<QTextDocument> read(const QByteArray &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    Platform::readRtf(rtf, document.get());
    return document;
}

// How a list counts its items. Bullets stay bullets, but which one is the writer's choice: it
// draws every bullet as the Symbol font's middle dot, as WordPad does.
int counting(const QTextList *list)
{
    if (!list)
        return 0;
    const QTextListFormat::Style style = list->format().style();
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return QTextListFormat::ListDisc;
    default:
        return style;
    }
}

// What the rich-text window shows of each character and each paragraph, as one line each.
QStringList shown(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat paragraph = block.blockFormat();
        const QTextList *list = block.textList();
        lines.append(u"paragraph %1 %2 %3 %4 %5 %6 list %7"_s
                         .arg(int(paragraph.alignment() & Qt::AlignHorizontal_Mask))
                         .arg(paragraph.leftMargin() + paragraph.indent() * document.indentWidth()
                              + (list ? list->format().indent() * document.indentWidth() : 0))
                         .arg(paragraph.textIndent())
                         .arg(paragraph.rightMargin())
                         .arg(paragraph.topMargin())
                         .arg(paragraph.bottomMargin())
                         .arg(counting(list)));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString look =
                u"%1 %2 b%3 i%4 u%5 s%6 %7"_s.arg(format.fontFamilies().toStringList().value(0))
                    .arg(format.fontPointSize())
                    .arg(format.fontWeight() >= QFont::Bold)
                    .arg(format.fontItalic())
                    .arg(format.fontUnderline())
                    .arg(format.fontStrikeOut())
                    .arg(format.hasProperty(QTextFormat::ForegroundBrush)
                             ? format.foreground().color().name()
                             : u"auto"_s);
            for (const QChar c : fragment.text())
                lines.append(QString(c) + u' ' + look);
        }
    }
    return lines;
}

} // namespace

class RtfCorpusTest : public QObject
{
    Q_OBJECT

private slots:
    void replays_data();
    void replays();
};

void RtfCorpusTest::replays_data()
{
    QTest::addColumn<QString>("path");

    const QDir corpus(QFINDTESTDATA("corpus"));
    const QFileInfoList files = corpus.entryInfoList(QDir::Files, QDir::Name);
    QVERIFY2(files.size() >= 10, qPrintable(corpus.absolutePath()));
    for (const QFileInfo &file : files)
        QTest::newRow(qPrintable(file.fileName())) << file.absoluteFilePath();
}

void RtfCorpusTest::replays()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();

    const auto document = read(rtf);
    // Memory in proportion to the input: no character without a byte of the file behind it.
    QVERIFY(document->characterCount() <= rtf.size() + 1);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            QVERIFY(!c.isHighSurrogate()
                    || (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()));
            QVERIFY(!c.isLowSurrogate() || (i > 0 && text.at(i - 1).isHighSurrogate()));
            QVERIFY(c.unicode() != 0xFDD0 && c.unicode() != 0xFDD1);
        }
    }

    // The text alone, as the search in documents reads it, is the text of the document built.
    QCOMPARE(Platform::rtfText(rtf), document->toRawText().replace(QChar::ParagraphSeparator, u'\n'));

    const QByteArray written = Platform::writeRtf(document.get());
    QVERIFY(Platform::looksLikeRtf(written));
    const auto again = read(written);
    QCOMPARE(shown(*again), shown(*document));
}

QTEST_GUILESS_MAIN(RtfCorpusTest)
#include "tst_rtfcorpus.moc"
