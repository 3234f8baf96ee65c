#include "platform/SpellChecker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtDebug>

#include <hunspell/hunspell.hxx>

#include <algorithm>

namespace Platform {

namespace {

// Hunspell refuses longer words anyway (its MAXWORDLEN).
constexpr int MaxWordLength = 100;
// Reading a large document word by word fills the cache with every word it holds; past this
// many entries it starts over rather than grow without end.
constexpr int MaxCachedVerdicts = 100000;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'_';
}

bool isJoiner(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'-' || c == u'\u2010' || c == u'.';
}

// The dictionary spells apostrophes and hyphens the ASCII way.
QString normalized(QStringView word)
{
    QString result = word.toString();
    result.replace(u'\u2019', u'\'');
    result.replace(u'\u2010', u'-');
    return result;
}

bool isAddressChunk(QStringView chunk)
{
    if (chunk.contains(u'@') || chunk.contains(u"://"))
        return true;
    qsizetype first = 0;
    while (first < chunk.size() && !chunk[first].isLetterOrNumber())
        ++first;
    return chunk.sliced(first).startsWith(u"www.", Qt::CaseInsensitive);
}

// A dictionary whose first line is not its word count is damaged; Hunspell would load it and
// reject every word, which would underline the whole text.
bool dictionaryLooksUsable(const QString &dicPath)
{
    QFile file(dicPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray firstLine = file.readLine(256);
    if (firstLine.startsWith("\xEF\xBB\xBF"))
        firstLine.remove(0, 3);
    // The count may be followed by a comment on the same line.
    bool ok = false;
    const int count = firstLine.simplified().split(' ').value(0).toInt(&ok);
    return ok && count > 0;
}

} // namespace

SpellChecker::SpellChecker(QStringList folders, QString language)
    : m_folders(std::move(folders)), m_language(std::move(language))
{
}

SpellChecker::~SpellChecker() = default;

SpellChecker &SpellChecker::shared()
{
    static SpellChecker instance(qEnvironmentVariableIsSet("KYXTAVLO_DICTIONARY_DIR")
                                     ? QStringList{qEnvironmentVariable("KYXTAVLO_DICTIONARY_DIR")}
                                     : standardFolders());
    return instance;
}

QStringList SpellChecker::standardFolders()
{
    QStringList folders{QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
                        QStringLiteral("/usr/share/myspell")};
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath() + QStringLiteral("/dictionaries");
    return folders;
}

SpellChecker::Dictionary SpellChecker::readDictionary(const QStringList &folders, const QString &language)
{
    for (const QString &folder : folders) {
        const QString base = QDir(folder).filePath(language);
        const QString aff = base + QStringLiteral(".aff");
        const QString dic = base + QStringLiteral(".dic");
        if (!QFileInfo(aff).isReadable() || !dictionaryLooksUsable(dic))
            continue;
        auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                                   QFile::encodeName(dic).constData());
        const QByteArray encoding = QByteArray::fromStdString(hunspell->get_dict_encoding());
        const QByteArray plain = encoding.toUpper().replace('-', "");
        if (plain == "UTF8")
            return {std::move(hunspell), {}};
        if (QStringEncoder(encoding.constData()).isValid() && QStringDecoder(encoding.constData()).isValid())
            return {std::move(hunspell), encoding};
        qWarning("Spell checking: %s uses the unknown encoding %s", qPrintable(aff), encoding.constData());
    }
    return {};
}

void SpellChecker::startLoading()
{
    if (!m_loadTried && !m_loading.valid())
        m_loading = std::async(std::launch::async, readDictionary, m_folders, m_language);
}

bool SpellChecker::load()
{
    if (m_loadTried)
        return m_hunspell != nullptr;
    m_loadTried = true;
    Dictionary dictionary = m_loading.valid() ? m_loading.get() : readDictionary(m_folders, m_language);
    m_hunspell = std::move(dictionary.hunspell);
    m_encoding = dictionary.encoding;
    return m_hunspell != nullptr;
}

bool SpellChecker::isAvailable()
{
    return load();
}

std::optional<std::string> SpellChecker::encode(const QString &word) const
{
    if (m_encoding.isEmpty())
        return word.toUtf8().toStdString();
    QStringEncoder encoder(m_encoding.constData());
    const QByteArray bytes = encoder.encode(word);
    // A converter may replace what it cannot hold instead of reporting it; a round trip tells.
    if (encoder.hasError() || decode(bytes.toStdString()) != word)
        return std::nullopt;
    return bytes.toStdString();
}

QString SpellChecker::decode(const std::string &bytes) const
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    if (m_encoding.isEmpty())
        return QString::fromUtf8(raw);
    QStringDecoder decoder(m_encoding.constData());
    return decoder.decode(raw);
}

bool SpellChecker::isCorrect(const QString &word)
{
    if (!load())
        return true;
    const auto known = m_verdicts.constFind(word);
    if (known != m_verdicts.cend())
        return *known;
    const std::optional<std::string> bytes = encode(normalized(word));
    const bool correct = !bytes || m_hunspell->spell(*bytes);
    if (m_verdicts.size() >= MaxCachedVerdicts)
        m_verdicts.clear();
    m_verdicts.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString &word, int maxCount)
{
    QStringList result;
    if (!load())
        return result;
    const std::optional<std::string> bytes = encode(normalized(word));
    if (!bytes)
        return result;
    for (const std::string &suggestion : m_hunspell->suggest(*bytes)) {
        const QString text = decode(suggestion);
        if (!text.isEmpty() && !result.contains(text))
            result << text;
        if (result.size() >= maxCount)
            break;
    }
    return result;
}

QList<SpellingSpan> SpellChecker::misspellings(QStringView text)
{
    if (!load())
        return {};
    return findMisspellings(text, [this](const QString &word) { return isCorrect(word); });
}

void SpellChecker::clearCache()
{
    m_verdicts.clear();
}

QList<SpellingSpan> SpellChecker::findMisspellings(QStringView text,
                                                   const std::function<bool(const QString &)> &isCorrect)
{
    QList<SpellingSpan> result;
    const int size = int(text.size());
    auto accepted = [&](int start, int end) {
        const QString word = normalized(text.sliced(start, end - start));
        return isCorrect(word) || (end < size && text[end] == u'.' && isCorrect(word + u'.'));
    };

    int chunkStart = 0;
    while (chunkStart < size) {
        if (text[chunkStart].isSpace()) {
            ++chunkStart;
            continue;
        }
        int chunkEnd = chunkStart;
        while (chunkEnd < size && !text[chunkEnd].isSpace())
            ++chunkEnd;
        if (isAddressChunk(text.sliced(chunkStart, chunkEnd - chunkStart))) {
            chunkStart = chunkEnd;
            continue;
        }

        int i = chunkStart;
        while (i < chunkEnd) {
            if (!isWordChar(text[i])) {
                ++i;
                continue;
            }
            const int start = i;
            bool skip = false;
            bool hasLower = false;
            QList<int> dots;
            while (i < chunkEnd) {
                const QChar c = text[i];
                if (isWordChar(c)) {
                    skip = skip || c.isNumber() || c == u'_';
                    hasLower = hasLower || c.isLower();
                } else if (isJoiner(c) && i + 1 < chunkEnd && isWordChar(text[i + 1])) {
                    if (c == u'.')
                        dots << i;
                } else {
                    break;
                }
                ++i;
            }
            const int end = i;
            if (skip || !hasLower || end - start > MaxWordLength || accepted(start, end))
                continue;
            if (dots.isEmpty()) {
                result << SpellingSpan{start, end - start};
                continue;
            }
            dots << end;
            int partStart = start;
            for (int dot : std::as_const(dots)) {
                const QStringView part = text.sliced(partStart, dot - partStart);
                const bool partHasLower = std::any_of(part.begin(), part.end(),
                                                      [](QChar c) { return c.isLower(); });
                if (partHasLower && !accepted(partStart, dot))
                    result << SpellingSpan{partStart, dot - partStart};
                partStart = dot + 1;
            }
        }
        chunkStart = chunkEnd;
    }
    return result;
}

} // namespace Platform
