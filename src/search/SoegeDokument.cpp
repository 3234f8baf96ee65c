#include "search/SoegeDokument.h"

#include "platform/DocumentSearch.h"
#include "platform/Rtf.h"
#include "platform/TextCodec.h"
#include "platform/TextFind.h"

#include <QTextLayout>
#include <QTextOption>

THitLine::THitLine(QString text)
    : m_text(std::move(text))
{
}

THitLine::THitLine(QString paragraph, int position, const QFont &font)
    : m_pending(std::make_unique<Pending>(Pending{std::move(paragraph), position, font}))
{
}

QString THitLine::text() const
{
    if (m_pending) {
        m_text = TSearchDocument::wrappedLine(m_pending->paragraph, m_pending->position, m_pending->font);
        m_pending.reset();
    }
    return m_text;
}

TSearchDocument::TSearchDocument() = default;

bool TSearchDocument::LoadFromFile(const QString &path, const Platform::ByteScreen &screen)
{
    m_text.clear();
    m_paragraphStart = -1;
    m_paragraph.clear();
    if (!Platform::readWholeFile(path, m_bytes))
        return false;
    if (Platform::looksLikeRtf(m_bytes)) {
        // The raw text, as the rich-text window's own find sees it: paragraph ends become line
        // breaks and every other character stays, so positions agree with the window's. Its
        // bytes cannot tell whether it holds the word, the text can, before it is folded.
        QString text = Platform::rtfText(m_bytes);
        if (screen.mayHold(text))
            m_text = std::move(text);
    } else if (screen.mayHold(m_bytes)) {
        m_text = Platform::decodeText(m_bytes).text;
    }
    return true;
}

THitLine TSearchDocument::lineAt(int position)
{
    if (position < 0 || position > m_text.size())
        return THitLine(QString());
    const int start = position == 0 ? 0 : int(m_text.lastIndexOf(QLatin1Char('\n'), position - 1)) + 1;
    if (start != m_paragraphStart) {
        const qsizetype next = m_text.indexOf(QLatin1Char('\n'), position);
        m_paragraphStart = start;
        m_paragraph = m_text.sliced(start, (next < 0 ? m_text.size() : next) - start);
    }
    if (m_paragraph.size() <= keptParagraphLength)
        return THitLine(m_paragraph, position - start, m_font);
    return THitLine(wrappedLine(m_paragraph, position - start, m_font));
}

QString TSearchDocument::wrappedLine(const QString &paragraph, int position, const QFont &font)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    // As a text area wraps: at word ends, and inside a word only when it is wider than the line.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QString piece = paragraph;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        piece = paragraph.mid(line.textStart(), line.textLength());
        if (position < line.textStart() + line.textLength())
            break;
    }
    layout.endLayout();
    // A forced break inside the paragraph ends its line; it is not part of the line's text.
    if (piece.endsWith(QChar::LineSeparator))
        piece.chop(1);
    return piece;
}
