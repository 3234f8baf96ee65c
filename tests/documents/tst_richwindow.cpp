#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/ColorGrid.h"
#include "documents/Win2.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/Designs.h"
#include "platform/RichTextEdit.h"
#include "platform/Rtf.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <memory>

// The rich-text document window, driven through its tool panel, keys and menus.
class TestRichWindow : public QObject {
    Q_OBJECT
private slots:
    void newRichDocument();
    void fontMetInTheTextJoinsTheList();
    void sizeOutsideTheListShowsTheFirstEntry();
    void sizeButtons();
    void fontMenu();
    void fontButtonOpensItsMenuOnItsWord();
    void formattingCommandsShowPressed();
    void colourGrid();
    void savedAndReopenedKeepsFormatting();
    void plainFileIsSavedAsRtf();
    void changedOnDiskIsReadAgainWithItsFormatting();
    void veryLongParagraph();
    void spellCheckLeavesCaretAfterFirstCharacter();
    void modifiedDisplay();
    void linesOfALongWrappedDocument();
    void fitsTheFrameAtTheStandardSize();

private:
    static Twinform2 *active() { return qobject_cast<Twinform2 *>(mainform->activeDocument()); }
    static QTextEdit *area(Twinform2 *window) { return qobject_cast<QTextEdit *>(window->editor()->widget()); }
    static Twinform2 *newWindow()
    {
        QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+N")));
        return active();
    }
    static void selectAll(Twinform2 *window) { window->editor()->selectAll(); }
};

void TestRichWindow::newRichDocument()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("1. Dokument"));
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Dokumentet har ikke fået navn."));
    QCOMPARE(mainform->docFilnavnEdit->text(), QStringLiteral("Dokumentet har ikke noget navn"));
    QCOMPARE(window->editor()->contextMenu(), window->winPU);
    QCOMPARE(window->infoPanels[0]->text(), QStringLiteral("Linier"));
    QCOMPARE(window->infoPanels[3]->text(), QStringLiteral("1,0"));
    QVERIFY(!mainform->docModified);

    QStringList entries;
    for (QAction *action : window->winPU->actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    QCOMPARE(entries, QStringList({"EditUndo1", "-", "EditCut1", "EditCopy1", "EditPaste1", "-", "EditSelectAll1",
                                   "EditDelete1", "-", "fileGem", "fileGemSom"}));
    QCOMPARE(window->EditPaste1->text(), QStringLiteral("Sæt ind"));
    QCOMPARE(window->EditPaste1->statusTip(), QStringLiteral("Inserts Clipboard contents"));

    // Saving proposes the rich-text filter and extension.
    QTest::keyClicks(window->editor()->widget(), QStringLiteral("x"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    QCOMPARE(program.dialogs.saveRequests.size(), 1);
    QCOMPARE(program.dialogs.saveRequests[0].filterIndex, 2);
    QCOMPARE(program.dialogs.saveRequests[0].defaultExtension, QStringLiteral(".rtf"));
}

void TestRichWindow::fontMetInTheTextJoinsTheList()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    const int before = window->FontNameBox->count();
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Fantasia Nova")});
    area(window)->textCursor().insertText(QStringLiteral("anderledes"), format);
    QTest::keyClick(window->editor()->widget(), Qt::Key_Left);
    QCOMPARE(window->FontNameBox->count(), before + 1);
    QCOMPARE(window->FontNameBox->currentText(), QStringLiteral("Fantasia Nova"));
}

void TestRichWindow::sizeOutsideTheListShowsTheFirstEntry()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    QTextCharFormat format;
    format.setFontPointSize(13);
    area(window)->textCursor().insertText(QStringLiteral("tretten"), format);
    QTest::keyClick(window->editor()->widget(), Qt::Key_Left);
    QCOMPARE(window->fontsizeBox->currentIndex(), 0);
    format.setFontPointSize(14);
    area(window)->textCursor().insertText(QStringLiteral("fjorten"), format);
    QTest::keyClick(window->editor()->widget(), Qt::Key_Left);
    QCOMPARE(window->fontsizeBox->currentText(), QStringLiteral("14"));
}

void TestRichWindow::sizeButtons()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    area(window)->setPlainText(QStringLiteral("stor tekst"));
    selectAll(window);
    QToolButton *twentyTwo = window->findChild<QToolButton *>(QStringLiteral("sb20"));
    QCOMPARE(twentyTwo->text(), QStringLiteral("22"));
    QTest::mouseClick(twentyTwo, Qt::LeftButton);
    QCOMPARE(window->fontsizeBox->currentText(), QStringLiteral("22"));
    QCOMPARE(area(window)->textCursor().charFormat().fontPointSize(), 22.0);

    // Without "22" in the size list the button does nothing.
    const int index = window->fontsizeBox->findText(QStringLiteral("22"));
    window->fontsizeBox->removeItem(index);
    QTest::mouseClick(window->findChild<QToolButton *>(QStringLiteral("sb10")), Qt::LeftButton);
    QTest::mouseClick(twentyTwo, Qt::LeftButton);
    QCOMPARE(area(window)->textCursor().charFormat().fontPointSize(), 10.0);
}

void TestRichWindow::fontMenu()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    QCOMPARE(window->FontNameBox->findText(QStringLiteral("Georgia")), -1);
    area(window)->setPlainText(QStringLiteral("serif"));
    selectAll(window);
    QAction *georgia = window->findChild<QAction *>(QStringLiteral("mFont3"));
    QCOMPARE(georgia->text(), QStringLiteral("Georgia"));
    georgia->trigger();
    QCOMPARE(window->FontNameBox->currentText(), QStringLiteral("Georgia"));
    QCOMPARE(window->FontNameBox->itemText(window->FontNameBox->count() - 1), QStringLiteral("Georgia"));
    QCOMPARE(area(window)->textCursor().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Georgia"));
}

// A click on the caption "Fonte", not only on its arrow, opens the font menu.
void TestRichWindow::fontButtonOpensItsMenuOnItsWord()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    QToolButton *fontButton = window->Button1;
    QCOMPARE(fontButton->text(), QStringLiteral("Fonte"));
    const QRect word = fontButton->fontMetrics().boundingRect(fontButton->text());
    bool shown = false;
    // The menu runs its own loop while it is open; it is looked at and closed from inside that loop.
    QTimer::singleShot(0, window, [window, &shown] {
        shown = window->FontPU->isVisible();
        window->FontPU->close();
    });
    QTest::mouseClick(fontButton, Qt::LeftButton, {},
                      QPoint(fontButton->contentsRect().left() + 4 + word.width() / 2, fontButton->height() / 2));
    QVERIFY(shown);
}

void TestRichWindow::formattingCommandsShowPressed()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    area(window)->setPlainText(QStringLiteral("afsnit"));
    selectAll(window);
    for (TAction *action : {window->RichEditBold2, window->RichEditItalic2, window->RichEditUnderline2,
                            window->RichEditBullets2, window->RichEditAlignCenter2})
        action->trigger();
    window->aMargin->trigger();
    const QTextCursor cursor = area(window)->textCursor();
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(cursor.charFormat().fontItalic());
    QVERIFY(cursor.charFormat().fontUnderline());
    QVERIFY(cursor.currentList());
    QCOMPARE(cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(cursor.blockFormat().rightMargin(), 5 * 96.0 / 72.0);
    TAction::updateAll();
    for (TAction *action : {window->RichEditBold2, window->RichEditItalic2, window->RichEditUnderline2,
                            window->RichEditBullets2, window->RichEditAlignCenter2})
        QVERIFY2(action->isChecked(), qPrintable(action->objectName()));
    QVERIFY(!window->RichEditAlignLeft2->isChecked());

    window->RichEditBullets2->trigger();
    window->RichEditAlignLeft2->trigger();
    TAction::updateAll();
    QVERIFY(!window->RichEditBullets2->isChecked());
    QVERIFY(window->RichEditAlignLeft2->isChecked());
    QVERIFY(!window->RichEditAlignCenter2->isChecked());
}

void TestRichWindow::colourGrid()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    area(window)->setPlainText(QStringLiteral("rød"));
    selectAll(window);
    // The cell in the third row, second column: red.
    QTest::mouseClick(window->ColorGrid, Qt::LeftButton, {}, QPoint(12 + 6, 24 + 6));
    QCOMPARE(area(window)->textCursor().charFormat().foreground().color(), QColor(255, 0, 0));
    QCOMPARE(window->ColorGrid->markedIndex(), 9);
    QTextCharFormat other;
    other.setForeground(QColor(10, 20, 30));
    area(window)->textCursor().mergeCharFormat(other);
    window->XYinfo();
    QCOMPARE(window->ColorGrid->markedIndex(), -1);
}

void TestRichWindow::savedAndReopenedKeepsFormatting()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    QTextCursor cursor = area(window)->textCursor();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontFamilies({QStringLiteral("Verdana")});
    bold.setFontPointSize(18);
    bold.setForeground(QColor(0, 0, 128));
    cursor.insertText(QStringLiteral("Overskrift med æøå"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("brødtekst"), QTextCharFormat());
    const QString path = QDir(program.workFolder()).filePath(QStringLiteral("brev.rtf"));
    program.dialogs.saveAnswers.enqueue(path);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QVERIFY(ProgramFixture::readFile(path).startsWith("{\\rtf1"));
    program.modal.press(QStringLiteral("Nej"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+L")));
    QVERIFY(mainform->documentWindows().isEmpty());

    mainform->funk->openwin(path, QString());
    Twinform2 *reopened = active();
    QVERIFY(reopened);
    const QTextBlock first = area(reopened)->document()->firstBlock();
    QCOMPARE(first.text(), QStringLiteral("Overskrift med æøå"));
    const QTextCharFormat format = first.begin().fragment().charFormat();
    QCOMPARE(format.fontWeight(), int(QFont::Bold));
    QCOMPARE(format.fontPointSize(), 18.0);
    QCOMPARE(format.foreground().color(), QColor(0, 0, 128));
    QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Verdana"));
    QCOMPARE(first.next().text(), QStringLiteral("brødtekst"));
    QVERIFY(!reopened->editor()->isModified());
}

void TestRichWindow::plainFileIsSavedAsRtf()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("ikke.rtf"), "bare tekst\r\nlinje to\r\n");
    mainform->funk->openwin(path, QString());
    Twinform2 *window = active();
    QVERIFY(window);
    QCOMPARE(area(window)->toPlainText(), QStringLiteral("bare tekst\nlinje to\n"));
    QVERIFY(window->Gem());
    const QByteArray saved = ProgramFixture::readFile(path);
    QVERIFY(saved.startsWith("{\\rtf1"));
    QVERIFY(saved.contains("bare tekst"));
}

// Another program rewrites the RTF file of an open document; read again, the window shows the new
// text with its formatting, and the editor's save after it asks nothing.
void TestRichWindow::changedOnDiskIsReadAgainWithItsFormatting()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("delt.rtf"), "{\\rtf1\\ansi f\\'f8rste\\par}");
    mainform->funk->openwin(path, QString());
    Twinform2 *window = active();
    QVERIFY(window);
    program.modal.press(QStringLiteral("Ja"));
    QFile outside(path);
    QVERIFY(outside.open(QIODevice::WriteOnly | QIODevice::Truncate));
    outside.write("{\\rtf1\\ansi {\\b fed} og almindelig\\par}");
    outside.close();
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text,
             QStringLiteral("Filen\n") + path + QStringLiteral("\ner ændret af et andet program.\nSkal den hentes igen?"));
    const QTextBlock first = area(window)->document()->firstBlock();
    QCOMPARE(first.text(), QStringLiteral("fed og almindelig"));
    QCOMPARE(first.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(!window->editor()->isModified());
    QVERIFY(window->Gem());
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestRichWindow::veryLongParagraph()
{
    ProgramFixture program;
    program.start();
    QByteArray paragraph;
    while (paragraph.size() < 300'000)
        paragraph += "Et meget langt afsnit uden ende, ";
    const QString path = program.writeFile(QStringLiteral("langt.rtf"), "{\\rtf1\\ansi " + paragraph + "\\par}");
    mainform->funk->openwin(path, QString());
    Twinform2 *window = active();
    QVERIFY(window);
    QCOMPARE(mainform->Info->text(), QStringLiteral("Dokumentet har meget lange afsnit: stavekontrol er slået fra."));
    window->editor()->widget()->setFocus();
    QTest::keyClick(mainform->windowHandle(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(window->editor()->widget(), QStringLiteral("slut"));
    QVERIFY(window->Gem());
    QTextDocument saved;
    Platform::readRtf(ProgramFixture::readFile(path), &saved);
    QCOMPARE(saved.toPlainText().trimmed(), QString::fromLatin1(paragraph + "slut").trimmed());
}

void TestRichWindow::spellCheckLeavesCaretAfterFirstCharacter()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    area(window)->setPlainText(QStringLiteral("Jeg har kæbt"));
    QTest::mouseClick(window->puButton, Qt::LeftButton);
    TAction::updateAll();
    QVERIFY(window->aStavekontrol->isEnabled());
    window->aStavekontrol->trigger();
    QCOMPARE(window->editor()->selectionStart(), 1);
    QVERIFY(!window->editor()->hasSelection());
}

void TestRichWindow::modifiedDisplay()
{
    ProgramFixture program;
    program.start();
    Twinform2 *window = newWindow();
    TAction::updateAll();
    QCOMPARE(window->EditModified->text(), QString());
    QCOMPARE(window->modiButton->width(), 24);
    QTest::keyClicks(window->editor()->widget(), QStringLiteral("ny"));
    TAction::updateAll();
    QCOMPARE(window->EditModified->text(), QStringLiteral("Redigeret"));
    QCOMPARE(window->EditModified->toolTip(), QStringLiteral("Dokumentet er ændret"));
    // "Redigeret" is shown whole beside its icon, in every design and with the larger font of a
    // desktop set up for reading.
    window->modiButton->setStyleSheet(QStringLiteral("font-size: 13pt"));
    for (const QString &design : Platform::designNames()) {
        QVERIFY(Platform::applyDesign(design));
        window->editor()->setModified(false);
        TAction::updateAll();
        window->editor()->setModified(true);
        TAction::updateAll();
        // The width the design needs to draw the text and icon without shortening them.
        const int needed = window->modiButton->sizeHint().width();
        QVERIFY2(window->modiButton->width() >= needed,
                 qPrintable(design + QStringLiteral(": ") + QString::number(window->modiButton->width())
                            + QStringLiteral(" < ") + QString::number(needed)));
    }
}

// A document of long wrapped paragraphs, most of them not yet shown: the line count and the
// caret's line count every wrapped line, as the document laid out whole has them.
void TestRichWindow::linesOfALongWrappedDocument()
{
    ProgramFixture program;
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int paragraph = 0; paragraph < 400; ++paragraph)
        rtf += QByteArray("ordet ").repeated(100) + "\\par ";
    rtf += "}";
    program.start({program.writeFile(QStringLiteral("lang.rtf"), rtf)});
    Twinform2 *window = active();
    QTextEdit *text = area(window);
    QCOMPARE(QApplication::focusWidget(), text);
    const auto shown = [window] {
        return window->infoPanels[1]->text() + QStringLiteral(" lines, the caret on line ")
               + window->infoPanels[3]->text().section(QLatin1Char(','), 0, 0);
    };
    // The same text laid out whole at the same width, with the caret where it is now.
    const auto laidOut = [text] {
        std::unique_ptr<QTextDocument> copy(text->document()->clone());
        copy->setTextWidth(text->document()->textWidth());
        copy->documentLayout()->documentSize();
        const int caret = text->textCursor().position();
        int lines = 0;
        int caretLine = 0;
        for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
            if (block.contains(caret))
                caretLine = lines + block.layout()->lineForTextPosition(caret - block.position()).lineNumber() + 1;
            lines += block.layout()->lineCount();
        }
        return QStringLiteral("%1 lines, the caret on line %2").arg(lines).arg(caretLine);
    };
    QWindow *keys = mainform->windowHandle();
    QTest::keyClick(keys, Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(laidOut().section(QLatin1Char(' '), 0, 0).toInt() > 800);
    QCOMPARE(shown(), laidOut());
    QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut());

    // As much again pasted at the start.
    QApplication::clipboard()->setText(text->toPlainText());
    QTest::keyClick(keys, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(keys, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut());
}

// In the 800-pixel main window the rich window fits its frame, maximised or not, and every one of
// its tool buttons can be reached: on its row, or in the row's overflow button.
void TestRichWindow::fitsTheFrameAtTheStandardSize()
{
    ProgramFixture program;
    program.start();
    mainform->showNormal();
    mainform->resize(800, 600);
    Twinform2 *window = newWindow();
    const int room = mainform->mdiArea->viewport()->width();
    QVERIFY2(mainform->width() <= 800, qPrintable(QString::number(mainform->width())));
    QVERIFY(window->isMaximized());
    QVERIFY(window->width() <= room);
    window->showNormal();
    QVERIFY2(window->width() <= room, qPrintable(QString::number(window->width())));

    window->showMaximized();
    QCoreApplication::processEvents();
    const QRect panel = window->redskabsPanel->rect();
    for (QToolButton *button : window->redskabsPanel->findChildren<QToolButton *>()) {
        if (button->isHidden() || button->objectName() == QLatin1String("qt_toolbar_ext_button"))
            continue;
        if (!button->isVisible()) // moved into an overflow: its row shows the overflow button
            QVERIFY(button->parentWidget()->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))->isVisible());
        else
            QVERIFY2(panel.contains(QRect(button->mapTo(window->redskabsPanel, QPoint()), button->size())),
                     qPrintable(button->text() + button->accessibleName()));
    }
}

QTEST_MAIN(TestRichWindow)
#include "tst_richwindow.moc"
