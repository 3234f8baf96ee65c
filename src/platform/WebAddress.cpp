#include "platform/WebAddress.h"

namespace Platform {

namespace {

bool endsAddress(QChar c)
{
    return c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>');
}

bool startsLikeAddress(const QString &text)
{
    static const char *const prefixes[] = {"http://", "https://", "ftp://", "file://", "mailto:", "www."};
    for (const char *prefix : prefixes)
        if (text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return text.size() > qsizetype(qstrlen(prefix));
    return false;
}

} // namespace

QString webAddressAt(const QString &line, int offset)
{
    if (offset < 0 || offset >= line.size() || endsAddress(line[offset]))
        return {};
    int start = offset;
    while (start > 0 && !endsAddress(line[start - 1]))
        --start;
    int end = offset + 1;
    while (end < line.size() && !endsAddress(line[end]))
        ++end;
    QString chunk = line.mid(start, end - start);
    // An address quoted in a sentence keeps its sentence's punctuation outside.
    while (!chunk.isEmpty() && QStringLiteral("([{'").contains(chunk.front()))
        chunk.remove(0, 1);
    while (!chunk.isEmpty() && QStringLiteral(".,;:!?)]}'").contains(chunk.back()))
        chunk.chop(1);
    return startsLikeAddress(chunk) ? chunk : QString();
}

} // namespace Platform
