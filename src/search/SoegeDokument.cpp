#include "search/SoegeDokument.h"

#include "platform/DocumentSearch.h"
#include "platform/Rtf.h"
#include "platform/TextCodec.h"

#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

TSearchDocument::TSearchDocument() = default;

bool TSearchDocument::LoadFromFile(const QString &path)
{
    m_text.clear();
    m_paragraphStart = -1;
    m_lines.clear();
    const std::optional<QByteArray> bytes = Platform::readWholeFile(path);
    if (!bytes)
        return false;
    if (Platform::looksLikeRtf(*bytes)) {
        QTextDocument document;
        Platform::readRtf(*bytes, &document);
        // The raw text, as the rich-text window's own find sees it: paragraph ends become line
        // breaks and every other character stays, so positions agree with the window's.
        m_text = document.toRawText();
        m_text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    } else {
        m_text = Platform::decodeText(*bytes).text;
    }
    return true;
}

QString TSearchDocument::lineAt(int position)
{
    if (position < 0 || position > m_text.size())
        return {};
    const int start = position == 0 ? 0 : int(m_text.lastIndexOf(QLatin1Char('\n'), position - 1)) + 1;
    if (start != m_paragraphStart) {
        const qsizetype next = m_text.indexOf(QLatin1Char('\n'), position);
        layOutParagraph(start, next < 0 ? int(m_text.size()) : int(next));
    }
    const int inParagraph = position - start;
    for (const Line &line : m_lines) {
        if (inParagraph < line.start + line.length || &line == &m_lines.last()) {
            QString piece = m_text.mid(start + line.start, line.length);
            // A forced break inside the paragraph ends its line; it is not part of the line's text.
            if (piece.endsWith(QChar::LineSeparator))
                piece.chop(1);
            return piece;
        }
    }
    return {};
}

void TSearchDocument::layOutParagraph(int start, int end)
{
    m_paragraphStart = start;
    m_lines.clear();
    QTextLayout layout(m_text.mid(start, end - start), m_font);
    QTextOption option;
    // As a text area wraps: at word ends, and inside a word only when it is wider than the line.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        m_lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    if (m_lines.isEmpty())
        m_lines.append({0, end - start});
}
