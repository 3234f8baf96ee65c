#include "platform/SpellChecker.h"
#include "platform/SpellUnderliner.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

using Platform::SpellChecker;
using Platform::SpellUnderliner;

namespace {

// A shown QPlainTextEdit or QTextEdit, so that each test runs against both kinds of text area.
struct TextArea {
    explicit TextArea(bool rich, const QString &content)
    {
        if (rich) {
            auto *edit = new QTextEdit;
            edit->setHtml(content);
            richEdit = edit;
            widget.reset(edit);
        } else {
            auto *edit = new QPlainTextEdit;
            edit->setPlainText(content);
            plainEdit = edit;
            widget.reset(edit);
        }
        widget->resize(420, 300);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
    }

    QTextDocument *document() const { return plainEdit ? plainEdit->document() : richEdit->document(); }
    QString text() const { return document()->toPlainText(); }
    QTextCursor cursorAt(const QPoint &viewportPos) const
    {
        return plainEdit ? plainEdit->cursorForPosition(viewportPos) : richEdit->cursorForPosition(viewportPos);
    }
    QTextCursor textCursor() const { return plainEdit ? plainEdit->textCursor() : richEdit->textCursor(); }
    // The middle of the character that starts at position.
    QPoint pointAt(int position) const
    {
        QTextCursor cursor(document());
        cursor.setPosition(position);
        const QRect before = plainEdit ? plainEdit->cursorRect(cursor) : richEdit->cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect after = plainEdit ? plainEdit->cursorRect(cursor) : richEdit->cursorRect(cursor);
        return QPoint((before.left() + after.left()) / 2, before.center().y());
    }
    QList<QTextEdit::ExtraSelection> selections() const
    {
        return plainEdit ? plainEdit->extraSelections() : richEdit->extraSelections();
    }
    void setSelections(const QList<QTextEdit::ExtraSelection> &selections)
    {
        plainEdit ? plainEdit->setExtraSelections(selections) : richEdit->setExtraSelections(selections);
    }
    // The spelling underlines as "position word".
    QStringList underlined() const
    {
        QStringList result;
        for (const QTextEdit::ExtraSelection &selection : selections()) {
            if (selection.format.boolProperty(SpellUnderliner::MarkerProperty))
                result << QStringLiteral("%1 %2").arg(selection.cursor.selectionStart()).arg(selection.cursor.selectedText());
        }
        return result;
    }
    SpellUnderliner *attach(SpellChecker *checker = nullptr)
    {
        return plainEdit ? new SpellUnderliner(plainEdit, checker) : new SpellUnderliner(richEdit, checker);
    }

    std::unique_ptr<QAbstractScrollArea> widget;
    QPlainTextEdit *plainEdit = nullptr;
    QTextEdit *richEdit = nullptr;
};

// The blocks with spelling underlines, and the blocks the viewport shows, as "first-last".
QString underlinedBlocks(const TextArea &area)
{
    int first = -1;
    int last = -1;
    for (const QTextEdit::ExtraSelection &selection : area.selections()) {
        const int block = selection.cursor.block().blockNumber();
        first = first < 0 ? block : std::min(first, block);
        last = std::max(last, block);
    }
    return QStringLiteral("%1-%2 (%3 underlines)").arg(first).arg(last).arg(area.selections().size());
}

QString visibleBlocks(const TextArea &area)
{
    const QWidget *viewport = area.widget->viewport();
    const int first = area.cursorAt(QPoint(0, 0)).blockNumber();
    const int last = area.cursorAt(QPoint(viewport->width() - 1, viewport->height() - 1)).blockNumber();
    return QStringLiteral("%1-%2 (%3 underlines)").arg(first).arg(last).arg(last - first + 1);
}

} // namespace

class TestSpellCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(SpellChecker::shared().isAvailable(), "the da_DK dictionary (hunspell-da) is missing");
    }

    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("misspelled");
        QTest::newRow("correct") << "Jeg har købt blåbær i går." << "";
        QTest::newRow("misspelled") << "Jeg har kæbt blåbær, og husett." << "kæbt|husett";
        QTest::newRow("apostrophes and hyphens") << "Jens’ cd'er, rød-grøn e-mail, it- og telesektoren" << "";
        QTest::newRow("joined wrongly") << "rødx-grøn" << "rødx-grøn";
        QTest::newRow("abbreviations") << "f.eks. bl.a. osv. ca. 5 kr." << "";
        QTest::newRow("abbreviation without its full stop") << "osv og" << "osv";
        QTest::newRow("no space after full stop") << "slut.Næste kæbt.Så" << "kæbt";
        QTest::newRow("digits and capitals") << "kyx3 3D-kyx mp3 XYZQ kyx_x" << "";
        QTest::newRow("addresses") << "Se www.kyx.dk, <https://kyx.dk/a?b=c> eller (kyx@kyx.dk). kyx"
                                   << "kyx";
    }

    void words()
    {
        QFETCH(QString, text);
        QFETCH(QString, misspelled);
        QStringList found;
        for (const Platform::SpellingSpan &span : SpellChecker::shared().misspellings(text))
            found << text.mid(span.start, span.length);
        QCOMPARE(found.join(u'|'), misspelled);
    }

    // The dictionary's SET line decides how words are handed to Hunspell.
    void dictionaryInItsOwnEncoding()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile aff(folder.filePath(QStringLiteral("da_DK.aff")));
        QVERIFY(aff.open(QIODevice::WriteOnly));
        aff.write("SET ISO8859-1\nTRY ædrbl\n");
        aff.close();
        QFile dic(folder.filePath(QStringLiteral("da_DK.dic")));
        QVERIFY(dic.open(QIODevice::WriteOnly));
        dic.write(QStringLiteral("1\nblåbær\n").toLatin1());
        dic.close();

        SpellChecker checker({QStringLiteral("/nonexistent"), folder.path()});
        QVERIFY(checker.isAvailable());
        QVERIFY(checker.isCorrect(QStringLiteral("blåbær")));
        QVERIFY(!checker.isCorrect(QStringLiteral("blåbar")));
        QCOMPARE(checker.suggestions(QStringLiteral("blåbar")), QStringList{QStringLiteral("blåbær")});
        // Beyond what a Latin-1 dictionary can judge.
        QVERIFY(checker.isCorrect(QStringLiteral("Łódź")));
    }

    void withoutDictionary()
    {
        QTemporaryDir empty;
        SpellChecker checker({empty.path()});
        QVERIFY(!checker.isAvailable());
        QVERIFY(checker.isCorrect(QStringLiteral("kæbt")));
        QVERIFY(checker.suggestions(QStringLiteral("kæbt")).isEmpty());

        TextArea area(false, QStringLiteral("Jeg har kæbt blåbær"));
        SpellUnderliner *underliner = area.attach(&checker);
        underliner->recheck();
        QVERIFY(area.underlined().isEmpty());
        QVERIFY(!underliner->misspellingAt(area.pointAt(9)));
        std::unique_ptr<QMenu> menu(underliner->createContextMenu(area.pointAt(9)));
        QCOMPARE(menu->actions().value(0)->objectName(), QStringLiteral("edit-undo"));
    }

    void underlines_data()
    {
        QTest::addColumn<bool>("rich");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QStringList>("expected");
        for (const bool rich : {false, true}) {
            const char *kind = rich ? "rich" : "plain";
            // The misspelled second line shows that the first one has been checked.
            QTest::addRow("%s correct", kind) << rich << (rich ? "<p>Jeg har købt blåbær i går</p><p>kæbt</p>"
                                                              : "Jeg har købt blåbær i går\nkæbt")
                                               << QStringList{QStringLiteral("26 kæbt")};
            QTest::addRow("%s misspelled", kind)
                << rich << "Jeg har kæbt blåbær" << QStringList{QStringLiteral("8 kæbt")};
        }
    }

    void underlines()
    {
        QFETCH(bool, rich);
        QFETCH(QString, content);
        QFETCH(QStringList, expected);
        TextArea area(rich, content);
        area.attach();
        QTRY_COMPARE(area.underlined(), expected);
        for (const QTextEdit::ExtraSelection &selection : area.selections()) {
            QCOMPARE(selection.format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
            QCOMPARE(selection.format.underlineColor(), QColor(Qt::red));
        }
    }

    void ownersSelectionsStay()
    {
        TextArea area(false, QStringLiteral("Jeg har kæbt blåbær"));
        QTextEdit::ExtraSelection owners;
        owners.cursor = QTextCursor(area.document());
        owners.cursor.setPosition(13);
        owners.cursor.setPosition(19, QTextCursor::KeepAnchor);
        owners.format.setBackground(Qt::yellow);
        area.setSelections({owners});
        area.attach();
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("8 kæbt")});
        QCOMPARE(area.selections().size(), 2);

        // An owner that sets only its own gets ours back.
        area.setSelections({owners});
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("8 kæbt")});
        QCOMPARE(area.selections().size(), 2);
        QCOMPARE(area.selections().first().format.background(), QBrush(Qt::yellow));
    }

    void contextMenu_data()
    {
        QTest::addColumn<bool>("rich");
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("clickAt");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("pick");
        QTest::newRow("plain") << false << "Jeg har kæbt blåbær" << 9 << "kæbt" << "købt";
        QTest::newRow("rich, keeps bold") << true << "Jeg har <b>kæbt</b> blåbær" << 9 << "kæbt" << "købt";
        QTest::newRow("no suggestions") << false << "Jeg har xqzjvbk" << 10 << "xqzjvbk" << "";
        QTest::newRow("correct word") << false << "Jeg har kæbt blåbær" << 15 << "" << "";
    }

    void contextMenu()
    {
        QFETCH(bool, rich);
        QFETCH(QString, content);
        QFETCH(int, clickAt);
        QFETCH(QString, word);
        QFETCH(QString, pick);
        TextArea area(rich, content);
        SpellUnderliner *underliner = area.attach();
        const QString before = area.text();
        const QPoint point = area.pointAt(clickAt);

        const std::optional<Platform::Misspelling> found = underliner->misspellingAt(point);
        QCOMPARE(found ? found->word : QString(), word);
        std::unique_ptr<QMenu> menu(underliner->createContextMenu(point));
        const QList<QAction *> actions = menu->actions();
        if (word.isEmpty()) {
            QCOMPARE(actions.value(0)->objectName(), QStringLiteral("edit-undo"));
            return;
        }
        const qsizetype corrections = actions.indexOf(menu->findChild<QAction *>(QStringLiteral("edit-undo"))) - 1;
        QVERIFY(corrections >= 1 && corrections <= SpellUnderliner::MaxSuggestions);
        QVERIFY(actions[corrections]->isSeparator());
        if (pick.isEmpty()) {
            QCOMPARE(corrections, 1);
            QCOMPARE(actions[0]->text(), QStringLiteral("Ingen forslag"));
            QVERIFY(!actions[0]->isEnabled());
            return;
        }

        QAction *choice = nullptr;
        for (QAction *action : actions.first(corrections)) {
            if (action->text() == pick)
                choice = action;
        }
        QVERIFY2(choice, qPrintable(found->suggestions.join(u',')));
        const QTextCharFormat formatBefore = found->cursor.charFormat();
        const int start = found->cursor.selectionStart();
        choice->trigger();

        QString after = before;
        after.replace(start, word.size(), pick);
        QCOMPARE(area.text(), after);
        QCOMPARE(area.textCursor().position(), start + pick.size());
        QCOMPARE(area.textCursor().charFormat().fontWeight(), formatBefore.fontWeight());
        QTRY_VERIFY(area.underlined().isEmpty());

        area.document()->undo();
        QCOMPARE(area.text(), before);
        QVERIFY(!area.document()->isUndoAvailable());
    }

    // A word is underlined once the caret has left it, and no longer once it is put right.
    void typing()
    {
        TextArea area(false, QString());
        area.attach();
        QTest::keyClicks(area.widget.get(), QStringLiteral("kæbt hus kæbt"));
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("0 kæbt")});
        QTest::keyClick(area.widget.get(), Qt::Key_Space);
        QTRY_COMPARE(area.underlined(), (QStringList{QStringLiteral("0 kæbt"), QStringLiteral("9 kæbt")}));

        QTest::keyClick(area.widget.get(), Qt::Key_Home);
        QTest::keyClick(area.widget.get(), Qt::Key_Right);
        QTest::keyClick(area.widget.get(), Qt::Key_Right);
        QTest::keyClick(area.widget.get(), Qt::Key_Backspace);
        QTest::keyClicks(area.widget.get(), QStringLiteral("ø"));
        QCOMPARE(area.text(), QStringLiteral("købt hus kæbt "));
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("9 kæbt")});
    }

    // Only the lines on screen are checked, wherever the view is scrolled to.
    void largeDocument()
    {
        QString content;
        for (int line = 0; line < 200000; ++line)
            content += QStringLiteral("kæbt blåbær\n");
        TextArea area(false, content);
        area.attach();
        QTRY_COMPARE(underlinedBlocks(area), visibleBlocks(area));

        area.widget->verticalScrollBar()->setValue(100000);
        QTRY_COMPARE(underlinedBlocks(area), visibleBlocks(area));
        QVERIFY(area.cursorAt(QPoint(0, 0)).blockNumber() >= 100000);
    }

    // Of a long unwrapped line, only the part scrolled into view is checked.
    void longLine()
    {
        const QString content = QStringLiteral("kæbt ") + QStringLiteral("blåbær ").repeated(3000) + QStringLiteral("kæbt");
        TextArea area(false, content);
        area.plainEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
        area.attach();
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("0 kæbt")});

        QScrollBar *sideways = area.widget->horizontalScrollBar();
        sideways->setValue(sideways->maximum());
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("%1 kæbt").arg(content.size() - 4)});
    }

    void recheck()
    {
        TextArea area(false, QStringLiteral("Jeg har kæbt blåbær"));
        QTextCursor caret = area.textCursor();
        caret.setPosition(5);
        area.plainEdit->setTextCursor(caret);
        QApplication::clipboard()->setText(QStringLiteral("brugerens udklip"));
        SpellUnderliner *underliner = area.attach();
        QTRY_COMPARE(area.underlined(), QStringList{QStringLiteral("8 kæbt")});

        underliner->setEnabled(false);
        QVERIFY(area.underlined().isEmpty());
        QVERIFY(!underliner->misspellingAt(area.pointAt(9)));
        underliner->recheck();
        QVERIFY(area.underlined().isEmpty());

        underliner->setEnabled(true);
        underliner->recheck();
        QCOMPARE(area.underlined(), QStringList{QStringLiteral("8 kæbt")});
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("brugerens udklip"));
        QCOMPARE(area.textCursor().position(), 5);
        QVERIFY(!area.textCursor().hasSelection());
        QVERIFY(!area.document()->isModified());
        QVERIFY(!area.document()->isUndoAvailable());
    }
};

QTEST_MAIN(TestSpellCheck)
#include "tst_spellcheck.moc"
