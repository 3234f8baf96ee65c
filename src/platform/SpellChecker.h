#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

class Hunspell;

namespace Platform {

// A misspelled word: its first character and its length, counted in UTF-16 units of the text
// that was checked.
struct SpellingSpan {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    friend bool operator==(const SpellingSpan &, const SpellingSpan &) = default;
};

// Hunspell with one dictionary, loaded on first use, or in the background from startLoading() on.
// All text areas share one instance (shared()); it is used from the GUI thread only.
//
// What counts as a word, chosen for Danish text:
// - a run of letters, digits, combining marks and '_', where an apostrophe (' or ’) or a hyphen
//   between two such characters belongs to the word ("cd'er", "rød-grøn", "e-mail"); one at
//   either end does not ("Jens' bog", "it- og telesektoren");
// - a full stop between two letters joins too, so abbreviations are checked whole ("f.eks.",
//   "bl.a."); when such a word is not known as a whole, its parts are checked one by one, so a
//   missing space after a full stop ("slut.Næste") is not a spelling error;
// - a word followed by a full stop is also accepted with it: "osv." and "ca." are abbreviations
//   that the dictionary only knows with their full stop;
// - skipped: words containing a digit or '_' ("mp3", "3D-print", names in code), words without
//   any lower-case letter ("NATO", "XYZQ": abbreviations and shouting), words longer than
//   Hunspell's limit, and every whitespace-separated chunk that holds an e-mail or web address
//   (contains '@' or "://", or starts with "www.").
// A word whose characters the dictionary's encoding cannot hold is beyond what the dictionary
// can judge and counts as correct.
class SpellChecker {
public:
    // Looks for <language>.aff and <language>.dic in the folders, first match wins.
    explicit SpellChecker(QStringList folders, QString language = QStringLiteral("da_DK"));
    ~SpellChecker();
    SpellChecker(const SpellChecker &) = delete;
    SpellChecker &operator=(const SpellChecker &) = delete;

    // The Danish checker of the process. Its folders are $KYXTAVLO_DICTIONARY_DIR alone when that
    // is set (an empty or missing folder turns spell checking off), else standardFolders().
    static SpellChecker &shared();
    // /usr/share/hunspell, /usr/share/myspell/dicts, /usr/share/myspell and "dictionaries" next
    // to the program (where the Windows build installs them).
    static QStringList standardFolders();

    // Reads the dictionary in a thread of its own, so that the first check finds it ready: reading
    // it takes as long as opening a document of many megabytes.
    void startLoading();
    // Whether a usable dictionary was found. Without one every word counts as correct.
    bool isAvailable();
    bool isCorrect(const QString &word);
    // Hunspell's suggestions, best first; empty without a dictionary.
    QStringList suggestions(const QString &word, int maxCount = 8);
    // The misspelled words of text, by the word rules above.
    QList<SpellingSpan> misspellings(QStringView text);
    // Forgets every remembered verdict, so the next checks ask the dictionary again.
    void clearCache();

private:
    // The word rules on their own: the spans of text whose words isCorrect rejects.
    static QList<SpellingSpan> findMisspellings(QStringView text,
                                                const std::function<bool(const QString &)> &isCorrect);
    // A dictionary read, with the encoding of its words (empty when UTF-8).
    struct Dictionary {
        std::unique_ptr<Hunspell> hunspell;
        QByteArray encoding;
    };
    static Dictionary readDictionary(const QStringList &folders, const QString &language);
    bool load();
    std::optional<std::string> encode(const QString &word) const;
    QString decode(const std::string &bytes) const;

    QStringList m_folders;
    QString m_language;
    bool m_loadTried = false;
    std::future<Dictionary> m_loading;
    std::unique_ptr<Hunspell> m_hunspell;
    QByteArray m_encoding; // empty when UTF-8
    QHash<QString, bool> m_verdicts;
};

} // namespace Platform
