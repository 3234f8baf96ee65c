#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "documents/FindReplace.h"
#include "platform/PlainEdit.h"
#include "platform/RichTextEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

using namespace Qt::StringLiterals;

// The "Søg" commands (FindOrd, ErstatTekst) on the text areas of both document windows, and once
// through the main window's "Søg" page.
class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void searchAndReplace_data();
    void searchAndReplace();
    void replaceAllIsWhatSingleStepsGive();
    void stepsInALargeDocumentFindWhatTheWholeTextHolds_data();
    void stepsInALargeDocumentFindWhatTheWholeTextHolds();
    void replaceAllIsOneUndoStep_data();
    void replaceAllIsOneUndoStep();
    void richReplaceKeepsFormatting();
    void searchPageDrivesTheActiveDocument_data();
    void searchPageDrivesTheActiveDocument();
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

// A document window's text area on its own, without the program around it.
class TextArea {
public:
    explicit TextArea(bool rich)
        : m_holder(std::make_unique<QWidget>())
    {
        if (rich)
            m_editor = new Platform::RichTextEdit(m_holder.get());
        else
            m_editor = new Platform::PlainEdit(m_holder.get());
    }
    Platform::RichEdit *operator->() const { return m_editor; }
    Platform::RichEdit &operator*() const { return *m_editor; }

private:
    std::unique_ptr<QWidget> m_holder;
    Platform::RichEdit *m_editor = nullptr;
};

// options: "back" for "Tilbage" (else "Fremad"), "all", "word", "case"
SearchSettings settingsFor(const QString &searchText, const QString &replacement, const QString &options)
{
    return {searchText,
            replacement,
            {options.contains(QLatin1String("word")), options.contains(QLatin1String("case"))},
            !options.contains(QLatin1String("back")),
            options.contains(QLatin1String("all"))};
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

    // In a file with a long line, the text stands in that line where the screen breaks it, after
    // a dozen such breaks. The soft hyphens around it are neither letters nor places where the
    // line would rather be broken.
    const QString lead = kind == Kind::LongLine ? QString(11'998, QChar(0xad)) : QString();
    const QString trail = kind == Kind::LongLine ? QString(1'000, QChar(0xad)) : QString();
    const Marked before = unmark(text);
    TextArea editor(kind == Kind::Rich);
    if (kind == Kind::LongLine) {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("lang.txt"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write((lead + before.text + trail).toUtf8());
        out.close();
        QVERIFY(editor->loadFromFile(file));
        QVERIFY(editor->hasLongLines());
    } else {
        editor->document()->setPlainText(before.text);
    }
    editor->setModified(false);
    editor->setSelection(lead.size() + before.start, before.length);

    QCOMPARE(::searchText(*editor, settingsFor(searchText, replacement, options), replacing), count);
    QCOMPARE(mark(editor->text(), editor->selectionStart(), editor->selectionLength()), lead + expected + trail);
    QCOMPARE(editor->isModified(), replacing && count > 0);
}

// "Find alle forekomster" replaces exactly what pressing "Erstat tekst" again and again would, in
// either direction, over every short text of a few letters and spaces. Left out are replacements
// holding the search text, where stepping backward would never end.
void TestFindReplace::replaceAllIsWhatSingleStepsGive()
{
    TextArea editor(false);
    QStringList texts{QString()};
    for (int length = 1; length <= 4; ++length)
        for (const QString &shorter : QStringList(texts))
            if (shorter.size() == length - 1)
                for (const QChar c : {u'a', u'b', u' '})
                    texts << shorter + c;
    const QStringList searches{"a", "aa", "ab", "a b"};
    const QStringList replacements{"", "b", "ba", "bb a"};
    const auto run = [&](const QString &text, SearchSettings settings, bool all) {
        editor->document()->setPlainText(text);
        editor->setSelection(settings.forward ? 0 : int(text.size()), 0);
        settings.all = all;
        int count = 0;
        if (all) {
            count = searchText(*editor, settings, true);
        } else {
            while (count <= 10 && searchText(*editor, settings, true) == 1)
                ++count;
        }
        return QStringLiteral("%1 %2").arg(count).arg(mark(editor->text(), editor->selectionStart(), 0));
    };
    for (const QString &searchFor : searches) {
        for (const QString &replacement : replacements) {
            if (replacement.contains(searchFor))
                continue;
            for (const QString &options : {QStringLiteral(""), QStringLiteral("back"), QStringLiteral("word"),
                                           QStringLiteral("back word")}) {
                const SearchSettings settings = settingsFor(searchFor, replacement, options);
                for (const QString &text : texts) {
                    const QString stepped = run(text, settings, false);
                    QCOMPARE(run(text, settings, true), stepped);
                }
            }
        }
    }
}

void TestFindReplace::stepsInALargeDocumentFindWhatTheWholeTextHolds_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("options");
    for (const auto &[name, kind] : {std::pair{"plain", Kind::Plain}, std::pair{"rich", Kind::Rich},
                                     std::pair{"long lines", Kind::LongLine}}) {
        QTest::addRow("%s", name) << kind << u"ord"_s << QString();
        QTest::addRow("%s, whole words", name) << kind << u"ord"_s << u"word"_s;
        QTest::addRow("%s, letter case", name) << kind << u"Ord"_s << u"case"_s;
        QTest::addRow("%s, over a line break", name) << kind << u"d\nø"_s << QString();
        QTest::addRow("%s, backward", name) << kind << u"ord"_s << u"back"_s;
        QTest::addRow("%s, backward, whole words", name) << kind << u"ord"_s << u"back word"_s;
    }
}

// "Find næste" in a document of a million characters, stepped from the start to the end or back,
// visits exactly the occurrences of its whole text: also those that lie across or next to the
// places where a step stops reading the text in one go. Those lie 2^18 characters apart from where
// the step begins (the start or the end, or the occurrence found last), so the occurrences stand
// where they meet them for a search text of three characters.
void TestFindReplace::stepsInALargeDocumentFindWhatTheWholeTextHolds()
{
    QFETCH(Kind, kind);
    QFETCH(QString, searchText);
    QFETCH(QString, options);
    const SearchSettings settings = settingsFor(searchText, QString(), options);
    constexpr int kPart = 1 << 18;
    // Lines of dots (no letters, so every occurrence is a whole word unless placed beside one),
    // a thousand characters long, or no breaks at all in the long-line file.
    QString text(5 * kPart + 17, u'.');
    if (kind != Kind::LongLine)
        for (int at = 999; at < text.size(); at += 1000)
            text[at] = u'\n';
    const auto place = [&text](int at, const QString &what) { text.replace(at, what.size(), what); };
    if (settings.forward) {
        // The first step reads from 0, the second from kPart + 2, its parts beginning at
        // 2 * kPart + 2 and 3 * kPart + 2.
        place(kPart - 1, u"Ord"_s);                    // across the first step's edge
        place(2 * kPart + 1, u"Ordy"_s);               // across the second's, a letter after
        place(3 * kPart + 1, u"xord"_s);               // beginning on an edge, a letter before
        place(4 * kPart - 500, u"ord"_s);
        place(4 * kPart - 1, u"d\nø"_s);               // a line break across the first step's edge
        place(4 * kPart + 100, u"d\nø"_s);
    } else {
        // The first step reads from the end, its second part from 4 * kPart + 14 down and its
        // third from 3 * kPart + 14; it finds the occurrence at 3 * kPart - 85, and the second
        // step reads from there, its second part from 2 * kPart - 88 down.
        place(4 * kPart + 13, u"xord"_s);              // across, a letter before
        place(3 * kPart + 14, u"xord"_s);              // beginning on the edge, a letter before
        place(3 * kPart - 85, u"ord"_s);
        place(2 * kPart - 88, u"ordy"_s);              // ending on the edge, a letter after
        place(2 * kPart - 287, u"ord"_s);
    }
    TextArea editor(kind == Kind::Rich);
    if (kind == Kind::LongLine) {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"lang.txt"_s);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        out.close();
        QVERIFY(editor->loadFromFile(file));
        QVERIFY(editor->hasLongLines());
    } else {
        editor->document()->setPlainText(text);
    }
    const Platform::TextFinder whole(editor->text(), searchText, settings.flags);
    const QList<int> expected = occurrenceChain(whole, settings.forward, settings.forward ? 0 : whole.textLength());
    QVERIFY(expected.size() >= 2);

    QList<int> stepped;
    editor->setSelection(settings.forward ? 0 : editor->textLength(), 0);
    while (stepped.size() <= expected.size() && ::searchText(*editor, settings, false) == 1)
        stepped << editor->selectionStart();
    QCOMPARE(stepped, expected);
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
    TextArea editor(rich);
    const QString original = QStringLiteral("ord og ord\nord, ordet\nord");
    editor->document()->setPlainText(original);
    editor->document()->clearUndoRedoStacks();
    editor->setSelection(options.contains(QLatin1String("back")) ? original.size() : 0, 0);
    QSignalSpy changes(editor->document(), &QTextDocument::contentsChange);
    QSignalSpy textChanges(&*editor, &Platform::RichEdit::textChanged);

    const SearchSettings settings = settingsFor(QStringLiteral("ord"), QStringLiteral("navn"), options + QStringLiteral(" word"));
    QCOMPARE(searchText(*editor, settings, true), 4);
    QCOMPARE(editor->text(), QStringLiteral("navn og navn\nnavn, ordet\nnavn"));
    // One change for the whole replace, not one for every occurrence.
    QCOMPARE(changes.count(), 1);
    QCOMPARE(textChanges.count(), 1);
    editor->undo();
    QCOMPARE(editor->text(), original);
    QVERIFY(!editor->canUndo());
}

void TestFindReplace::richReplaceKeepsFormatting()
{
    TextArea editor(true);
    QTextDocument *document = editor->document();
    QTextCharFormat normal;
    normal.setFontWeight(QFont::Normal);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTextCursor cursor(document);
    cursor.insertText(QStringLiteral("før "), normal);
    cursor.insertText(QStringLiteral("ord"), bold);
    cursor.insertText(QStringLiteral(" og ord"), normal);
    // Paragraphs of one format each, with several occurrences in them.
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("ord, ord"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("ord ord ord"), italic);
    editor->setSelection(0, 0);

    QCOMPARE(searchText(*editor, settingsFor(QStringLiteral("ord"), QStringLiteral("navne"), QStringLiteral("all")), true), 7);
    QCOMPARE(editor->text(), QStringLiteral("før navne og navne\nnavne, navne\nnavne navne navne"));
    QString looks;
    for (int i = 1; i <= editor->textLength(); ++i) {
        cursor.setPosition(i);
        const QTextCharFormat format = cursor.charFormat();
        looks += cursor.atBlockStart() ? QLatin1Char('|')
                 : format.fontWeight() == QFont::Bold ? QLatin1Char('B')
                 : format.fontItalic()                ? QLatin1Char('I')
                                                      : QLatin1Char('-');
    }
    QCOMPARE(looks, QStringLiteral("----BBBBB---------|BBBBBBBBBBBB|IIIIIIIIIIIIIIIII"));
    QCOMPARE(mark(editor->text(), editor->selectionStart(), editor->selectionLength()),
             QStringLiteral("før navne og navne\nnavne, navne\nnavne navne navne|"));
}

void TestFindReplace::searchPageDrivesTheActiveDocument_data()
{
    QTest::addColumn<bool>("rich");
    QTest::newRow("plain") << false;
    QTest::newRow("rich") << true;
}

// The "Søg" page's commands run on the active document with the page's settings: the hits are
// selected and the caret taken to the text when the command came from elsewhere than the search
// fields, the number found is shown, the caret fields follow a run over every occurrence, and a
// replace leaves the document modified for the frame's commands.
void TestFindReplace::searchPageDrivesTheActiveDocument()
{
    QFETCH(bool, rich);
    ProgramFixture program;
    program.start();
    const auto key = [](const char *keys) {
        QTest::keySequence(mainform, QKeySequence(QString::fromLatin1(keys)));
        TAction::updateAll();
    };
    const auto type = [](const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); };
    const auto click = [](QWidget *control) {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
        TAction::updateAll();
    };
    if (rich)
        mainform->fileNewRtf->trigger();
    else
        key("Ctrl+N");
    TDocumentForm *window = mainform->activeDocument();
    QVERIFY(window);
    QCOMPARE(window->inherits("Twinform2"), rich);
    Platform::RichEdit *editor = window->editor();
    type(QStringLiteral("Ord og ordet og ord"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
    editor->setModified(false);
    window->FormActivate();
    QVERIFY(!mainform->docModified);

    key("Ctrl+3");
    QCOMPARE(QApplication::focusWidget(), mainform->ordEdit);
    type(QStringLiteral("ord"));
    click(mainform->HeleOrdCheck);
    QCOMPARE(QApplication::focusWidget(), mainform->HeleOrdCheck);
    click(mainform->SsCheck);
    window->posX = -1;
    key("Ctrl+F");
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 1"));
    QCOMPARE(editor->selectionStart(), 16);
    QCOMPARE(editor->selectedText(), QStringLiteral("ord"));
    QCOMPARE(QApplication::focusWidget(), editor->widget());
    QCOMPARE(window->posX, -1);

    click(mainform->erstatEdit);
    type(QStringLiteral("navn"));
    editor->setSelection(0, 0);
    click(mainform->SsCheck);
    click(mainform->erstatAlleCheck);
    mainform->erstatTekst->trigger();
    QCOMPARE(mainform->antalFundLabel->text(), QStringLiteral("Antal forekomster: 2"));
    QCOMPARE(editor->text(), QStringLiteral("navn og ordet og navn"));
    QCOMPARE(QApplication::focusWidget(), editor->widget());
    QVERIFY(window->posX != -1);
    QVERIFY(mainform->docModified);
    TAction::updateAll();
    QVERIFY(mainform->fileGem->isEnabled());
}

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
