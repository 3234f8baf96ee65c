#include "ProgramFixture.h"

#include "app/Action.h"
#include "app/Globals.h"
#include "app/Main.h"
#include "app/RadioGroup.h"
#include "documents/DocumentForm.h"
#include "opening/Funktioner.h"
#include "platform/RichEdit.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The "Søg" commands (FindOrd, ErstatTekst) of both document windows, driven through the main
// window's "Søg" page.
class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void searchAndReplace_data();
    void searchAndReplace();
    void replaceAllIsWhatSingleStepsGive();
    void replaceAllIsOneUndoStep_data();
    void replaceAllIsOneUndoStep();
    void richReplaceKeepsFormatting();

private:
    static TDokumentform *newDocument(bool rich)
    {
        if (rich)
            mainform->fileNewRtf->trigger();
        else
            QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
        return mainform->activeDocument();
    }
    static void setSearch(const QString &searchText, const QString &replacement, const QString &options)
    {
        mainform->ordEdit->setText(searchText);
        mainform->erstatEdit->setText(replacement);
        mainform->retGroup->setItemIndex(options.contains(QLatin1String("back")) ? 0 : 1);
        mainform->erstatAlleCheck->setChecked(options.contains(QLatin1String("all")));
        mainform->HeleOrdCheck->setChecked(options.contains(QLatin1String("word")));
        mainform->SsCheck->setChecked(options.contains(QLatin1String("case")));
    }
};

namespace {

enum class Kind { Plain, Rich, LongLine };

// A text with its selection marked: "|" the caret, "[" and "]" around a selection.
struct Marked {
    QString text;
    int start = 0;
    int length = 0;
};

Marked unmark(const QString &marked)
{
    Marked result;
    const qsizetype caret = marked.indexOf(QLatin1Char('|'));
    const qsizetype open = marked.indexOf(QLatin1Char('['));
    result.text = marked;
    if (caret >= 0) {
        result.start = int(caret);
        result.text.remove(caret, 1);
    } else if (open >= 0) {
        const qsizetype close = marked.indexOf(QLatin1Char(']'));
        result.start = int(open);
        result.length = int(close - open - 1);
        result.text.remove(close, 1).remove(open, 1);
    }
    return result;
}

QString mark(const QString &text, int start, int length)
{
    QString marked = text;
    if (length == 0)
        return marked.insert(start, QLatin1Char('|'));
    return marked.insert(start + length, QLatin1Char(']')).insert(start, QLatin1Char('['));
}

} // namespace

void TestFindReplace::searchAndReplace_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("options");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    // options: "back" for "Tilbage" (else "Fremad"), "all", "word", "case"
    const auto row = [](const char *name, bool replacing, const QString &text, const QString &searchText,
                        const QString &replacement, const QString &options, int count, const QString &expected) {
        for (const auto &[kind, suffix] : {std::pair{Kind::Plain, " (plain)"}, std::pair{Kind::Rich, " (rich)"},
                                           std::pair{Kind::LongLine, " (long line)"}})
            QTest::newRow(qPrintable(QString::fromUtf8(name) + QString::fromUtf8(suffix)))
                << kind << replacing << text << searchText << replacement << options << count << expected;
    };
    const auto find = [&row](const char *name, const QString &text, const QString &searchText, const QString &options,
                             int count, const QString &expected) {
        row(name, false, text, searchText, QString(), options, count, expected);
    };
    const auto replace = [&row](const char *name, const QString &text, const QString &searchText,
                                const QString &replacement, const QString &options, int count, const QString &expected) {
        row(name, true, text, searchText, replacement, options, count, expected);
    };

    find("forward, first", "|aaaa", "aa", "", 1, "[aa]aa");
    find("forward, next behind the selection", "[aa]aa", "aa", "", 1, "aa[aa]");
    find("forward, after the last", "aa[aa]", "aa", "", 0, "aa[aa]");
    find("forward, all", "|aaaa", "aa", "all", 2, "aa[aa]");
    find("forward, all from the caret", "ab|abab", "ab", "all", 2, "abab[ab]");
    find("backward, last", "aaaa|", "aa", "back", 1, "aa[aa]");
    find("backward, next before the selection", "aa[aa]", "aa", "back", 1, "[aa]aa");
    find("backward, before the first", "[aa]aa", "aa", "back", 0, "[aa]aa");
    find("backward, all", "aaaa|", "aa", "back all", 2, "[aa]aa");
    find("backward, all before the selection", "ab[ab]ab", "ab", "back all", 1, "[ab]abab");
    find("backward, one character just before the caret", "abab|ab", "b", "back", 1, "aba[b]ab");
    find("whole word, not in ordet", "|ordet ord.", "ord", "all word", 1, "ordet [ord].");
    find("part of a word", "|ordet ord.", "ord", "all", 2, "ordet [ord].");
    find("whole word, a letter after the range", "ord|et ord", "ord", "back word", 0, "ord|et ord");
    find("part of a word, backward to the caret", "ord|et ord", "ord", "back", 1, "[ord]et ord");
    find("whole word, Danish letters are letters", "|ordå æord ord", "ord", "all word", 1, "ordå æord [ord]");
    find("whole word, Danish letters without case", "|ÆRØ ærøbro ærø", "ærø", "all word", 2, "ÆRØ ærøbro [ærø]");
    find("without case", "|Ord ord", "ord", "all", 2, "Ord [ord]");
    find("with case", "|Ord ord", "ord", "all case", 1, "Ord [ord]");
    find("with case, backward", "Ord ord|", "Ord", "back all case", 1, "[Ord] ord");
    find("pattern characters are literal", "|abc a.c", "a.c", "all", 1, "abc [a.c]");
    find("pattern characters are literal, backward", "xx (x)+|", "(x)+", "back", 1, "xx [(x)+]");
    find("only spaces", "|a  b", "  ", "", 1, "a[  ]b");
    find("only spaces, whole word between letters", "|a  b", "  ", "word", 0, "|a  b");
    find("no-break space as a space", QStringLiteral("|a\u00a0b"), "a b", "", 1, QStringLiteral("[a\u00a0b]"));
    find("longer than the document", "|abc", "abcd", "all", 0, "|abc");
    find("longer than the document, backward", "abc|", "abcd", "back", 0, "abc|");
    find("empty document", "|", "a", "all", 0, "|");
    find("empty document, backward", "|", "a", "back all", 0, "|");
    find("empty search text", "|abc", "", "all", 0, "|abc");
    find("line break", "|ab\ncd\nbc", "b\nc", "all", 1, "a[b\nc]d\nbc");
    find("CR LF is one line break", "|ab\ncd", "b\r\nc", "", 1, "a[b\nc]d");
    find("line break, backward", "ab\ncd|", "b\nc", "back", 1, "a[b\nc]d");

    replace("forward", "|ord ord", "ord", "navn", "", 1, "navn| ord");
    replace("forward, behind the selected occurrence", "[ord] ord", "ord", "navn", "", 1, "ord navn|");
    replace("forward, all, replacement holding the search text", "|aaa", "a", "aa", "all", 3, "aaaaaa|");
    replace("forward, all, whole words", "|ord ordet ord", "ord", "ordet", "all word", 2, "ordet ordet ordet|");
    replace("backward, caret behind the inserted text", "aaa|", "a", "aa", "back", 1, "aaaa|");
    replace("backward, all, replacement holding the search text", "aaa|", "a", "aa", "back all", 3, "aa|aaaa");
    replace("backward, all, runs that shrink", "aaaa|", "aa", "a", "back all", 3, "a|");
    replace("backward, all, a hit reaching into the replacement", "aab|", "ab", "b", "back all", 2, "b|");
    replace("backward, all, a hit inside the replacement is passed over", "aaa|", "aa", "aab", "back all", 2, "aab|ab");
    replace("backward, all, a hit reaching into the replacement's middle", "a a b|", "a b", "bx", "back all", 2, "bx|x");
    replace("backward, all, the replacement ends the word", "a a b|", "a b", "bx", "back all word", 1, "a bx|");
    replace("backward, all, with case", "ORD ord Ord|", "ord", "x", "back all case", 1, "ORD x| Ord");
    replace("empty replacement deletes", "|xabyab", "ab", "", "all", 2, "xy|");
    replace("empty replacement deletes, backward", "xabyab|", "ab", "", "back all", 2, "x|y");
    replace("inserted letter ends the next word", "|--", "-", "x", "all word", 1, "x|-");
    replace("inserted letter ends the next word, backward", "--|", "-", "x", "back all word", 1, "-x|");
    replace("deleting makes the next a whole word", "|.a.a", ".a", "", "all word", 2, "|");
    replace("deleting makes the next a whole word, backward", "a.a.|", "a.", "", "back all word", 2, "|");
    replace("replacement with line breaks", "|a,b,c", ",", "\r\n", "all", 2, "a\nb\n|c");
    replace("across a line break", "|ab\ncd", "b\nc", "X", "", 1, "aX|d");
    replace("empty document", "|", "a", "b", "all", 0, "|");
    replace("empty document, backward", "|", "a", "b", "back all", 0, "|");
    replace("nothing found keeps the selection", "a[b]c", "x", "y", "all", 0, "a[b]c");
}

void TestFindReplace::searchAndReplace()
{
    QFETCH(Kind, kind);
    QFETCH(bool, replacing);
    QFETCH(QString, text);
    QFETCH(QString, searchText);
    QFETCH(QString, replacement);
    QFETCH(QString, options);
    QFETCH(int, count);
    QFETCH(QString, expected);

    ProgramFixture program;
    program.start();
    // In a file with a long line, the text stands in that line where the screen breaks it, after
    // a dozen such breaks. The soft hyphens around it are neither letters nor places where the
    // line would rather be broken.
    const QString lead = kind == Kind::LongLine ? QString(11'998, QChar(0xad)) : QString();
    const QString trail = kind == Kind::LongLine ? QString(1'000, QChar(0xad)) : QString();
    const Marked before = unmark(text);
    TDokumentform *window = nullptr;
    if (kind == Kind::LongLine) {
        mainform->funk->openwin(program.writeFile(QStringLiteral("lang.txt"), (lead + before.text + trail).toUtf8()), QString());
        window = mainform->activeDocument();
        QVERIFY(window && window->editor()->hasLongLines());
    } else {
        window = newDocument(kind == Kind::Rich);
        QVERIFY(window);
        window->editor()->document()->setPlainText(before.text);
        window->editor()->setModified(false);
        window->FormActivate(); // as when the user comes back to the window: the main window sees it unmodified
    }
    Platform::RichEdit *editor = window->editor();
    editor->setSelection(lead.size() + before.start, before.length);
    setSearch(searchText, replacement, options);
    QCOMPARE(mainform->ordEdit->text(), searchText);
    QVERIFY(!mainform->docModified);
    // The focus on a check box of the page, as after ticking it: a hit takes the focus to the
    // text area. (Run from the search fields, the caret stays there; see the command panel.)
    mainform->HeleOrdCheck->setFocus();
    window->posX = -1;

    QCOMPARE(replacing ? window->ErstatTekst() : window->FindOrd(), count);
    QCOMPARE(mark(editor->text(), editor->selectionStart(), editor->selectionLength()), lead + expected + trail);
    QCOMPARE(editor->isModified(), replacing && count > 0);
    if (replacing && count > 0)
        QVERIFY(mainform->docModified);
    if (count > 0)
        QVERIFY(editor->widget()->hasFocus());
    // The caret fields are brought up to date when a search finding nothing ended the run.
    const bool endedOnMiss = options.contains(QLatin1String("all")) || (options.contains(QLatin1String("back")) && count == 0);
    QCOMPARE(window->posX != -1, endedOnMiss);
}

// "Find alle forekomster" replaces exactly what pressing "Erstat tekst" again and again would, in
// either direction, over every short text of a few letters and spaces. Left out are replacements
// holding the search text, where stepping backward would never end.
void TestFindReplace::replaceAllIsWhatSingleStepsGive()
{
    ProgramFixture program;
    program.start();
    TDokumentform *window = newDocument(false);
    Platform::RichEdit *editor = window->editor();
    QStringList texts{QString()};
    for (int length = 1; length <= 4; ++length)
        for (const QString &shorter : QStringList(texts))
            if (shorter.size() == length - 1)
                for (const QChar c : {u'a', u'b', u' '})
                    texts << shorter + c;
    const QStringList searches{"a", "aa", "ab", "a b"};
    const QStringList replacements{"", "b", "ba", "bb a"};
    const auto run = [&](const QString &text, bool backward, bool all) {
        editor->document()->setPlainText(text);
        editor->setSelection(backward ? int(text.size()) : 0, 0);
        mainform->erstatAlleCheck->setChecked(all);
        int count = 0;
        if (all) {
            count = window->ErstatTekst();
        } else {
            while (count <= 10 && window->ErstatTekst() == 1)
                ++count;
        }
        return QStringLiteral("%1 %2").arg(count).arg(mark(editor->text(), editor->selectionStart(), 0));
    };
    for (const QString &searchText : searches) {
        for (const QString &replacement : replacements) {
            if (replacement.contains(searchText))
                continue;
            for (const QString &options : {QStringLiteral(""), QStringLiteral("back"), QStringLiteral("word"),
                                           QStringLiteral("back word")}) {
                setSearch(searchText, replacement, options);
                for (const QString &text : texts) {
                    const bool backward = options.contains(QLatin1String("back"));
                    const QString stepped = run(text, backward, false);
                    QCOMPARE(run(text, backward, true), stepped);
                }
            }
        }
    }
}

void TestFindReplace::replaceAllIsOneUndoStep_data()
{
    QTest::addColumn<bool>("rich");
    QTest::addColumn<QString>("options");
    QTest::newRow("plain, forward") << false << "all";
    QTest::newRow("plain, backward") << false << "back all";
    QTest::newRow("rich, forward") << true << "all";
    QTest::newRow("rich, backward") << true << "back all";
}

void TestFindReplace::replaceAllIsOneUndoStep()
{
    QFETCH(bool, rich);
    QFETCH(QString, options);
    ProgramFixture program;
    program.start();
    TDokumentform *window = newDocument(rich);
    const QString original = QStringLiteral("ord og ord\nord, ordet\nord");
    window->editor()->document()->setPlainText(original);
    window->editor()->setSelection(options.contains(QLatin1String("back")) ? original.size() : 0, 0);
    setSearch(QStringLiteral("ord"), QStringLiteral("navn"), options + QStringLiteral(" word"));
    QSignalSpy changes(window->editor()->document(), &QTextDocument::contentsChange);
    QSignalSpy textChanges(window->editor(), &Platform::RichEdit::textChanged);

    QCOMPARE(window->ErstatTekst(), 4);
    QCOMPARE(window->editor()->text(), QStringLiteral("navn og navn\nnavn, ordet\nnavn"));
    // One change for the whole replace, not one for every occurrence.
    QCOMPARE(changes.count(), 1);
    QCOMPARE(textChanges.count(), 1);
    window->EditUndo1->trigger();
    QCOMPARE(window->editor()->text(), original);
    QVERIFY(!window->editor()->canUndo());
}

void TestFindReplace::richReplaceKeepsFormatting()
{
    ProgramFixture program;
    program.start();
    TDokumentform *window = newDocument(true);
    QTextDocument *document = window->editor()->document();
    QTextCharFormat normal;
    normal.setFontWeight(QFont::Normal);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("før "), normal);
    cursor.insertText(QStringLiteral("ord"), bold);
    cursor.insertText(QStringLiteral(" og ord"), normal);
    window->editor()->setSelection(0, 0);
    setSearch(QStringLiteral("ord"), QStringLiteral("navne"), QStringLiteral("all"));

    QCOMPARE(window->ErstatTekst(), 2);
    QCOMPARE(window->editor()->text(), QStringLiteral("før navne og navne"));
    QString weights;
    for (int i = 1; i <= window->editor()->textLength(); ++i) {
        cursor.setPosition(i);
        weights += cursor.charFormat().fontWeight() == QFont::Bold ? QLatin1Char('B') : QLatin1Char('-');
    }
    QCOMPARE(weights, QStringLiteral("----BBBBB---------"));
}

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
