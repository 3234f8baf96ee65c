#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "opening/FileType.h"
#include "opening/filtyper.h"
#include "opening/Funktioner.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// The file type box as the user meets it through F8: what it shows, what its buttons do to the
// rows, and what "ExtListe.txt" and the open dispatch make of it afterwards.

namespace {

QString extListeFile(const ProgramFixture &program)
{
    return QDir(program.optMappe()).filePath(QStringLiteral("ExtListe.txt"));
}

void writeSettingsFile(const ProgramFixture &program, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(program.optMappe()).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The rows as the user sees them: name, pattern and "1"/"0" for the tick.
QStringList rows()
{
    QStringList seen;
    for (int i = 0; i < typeform->typeliste->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = typeform->typeliste->topLevelItem(i);
        seen << row->text(0) << row->text(1) << (row->checkState(0) == Qt::Checked ? "1" : "0");
    }
    return seen;
}

int selectedRow()
{
    const QList<QTreeWidgetItem *> selected = typeform->typeliste->selectedItems();
    return selected.isEmpty() ? -1 : typeform->typeliste->indexOfTopLevelItem(selected.first());
}

// As the user's click: the idle update that follows brings the actions up to date.
void selectRow(int index)
{
    typeform->typeliste->setCurrentItem(typeform->typeliste->topLevelItem(index));
    TAction::updateAll();
}

// The control the user (or a screen reader) knows by this name.
template <typename Control = QWidget>
Control *control(const QString &accessibleName)
{
    for (Control *candidate : typeform->findChildren<Control *>())
        if (candidate->accessibleName() == accessibleName && candidate->isVisible())
            return candidate;
    return nullptr;
}

void click(const QString &accessibleName)
{
    auto *button = control<QAbstractButton>(accessibleName);
    QVERIFY2(button, qPrintable(accessibleName));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Opens the box with F8 and lets `act` work in it; `act` must end the box.
void withBox(ProgramFixture &program, const std::function<void(QDialog &)> &act)
{
    bool shown = false;
    program.modal.answer([&](QDialog &box) {
        shown = &box == typeform;
        act(box);
    });
    TAction::updateAll();
    QTest::keySequence(mainform, QKeySequence(Qt::Key_F8));
    QVERIFY(shown);
    QVERIFY(!typeform->isVisible());
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

const QStringList threeTypes{"Alfa", "*.a", "1", "Beta", "*.b", "0", "Gamma", "*.c", "1"};

} // namespace

class TestFiltyper : public QObject {
    Q_OBJECT
private slots:
    void linesMakeEntries_data();
    void linesMakeEntries();
    void boxAsTheUserMeetsIt();
    void insertNormalisesTheType_data();
    void insertNormalisesTheType();
    void movingRows();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void standardList_data();
    void standardList();
    void handEditedFile_data();
    void handEditedFile();
    void savedListDecidesWhatOpensWithoutAsking();
    void failedSaveKeepsTheBoxOpen();
    void heightIsRemembered_data();
    void heightIsRemembered();
};

void TestFiltyper::boxAsTheUserMeetsIt()
{
    ProgramFixture program;
    program.start();
    QVERIFY(!QFileInfo::exists(extListeFile(program)));
    const Qt::WindowFlags flags = typeform->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint)));

    withBox(program, [&](QDialog &box) {
        QCOMPARE(box.windowTitle(), QStringLiteral("Filtypeboksen"));
        QCOMPARE(box.width(), 274);
        QCOMPARE(box.minimumHeight(), 490);
        QCOMPARE(box.maximumWidth(), 274);
        QCOMPARE(typeform->typeliste->headerItem()->text(0), QStringLiteral("Tekst"));
        QCOMPARE(typeform->typeliste->headerItem()->text(1), QStringLiteral("Type"));
        QCOMPARE(typeform->typeliste->topLevelItemCount(), 0);
        QCOMPARE(typeform->typeliste->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(typeform->typeliste->actions(), QList<QAction *>({typeform->Aop, typeform->Aned}));

        // Top to bottom, every control whole inside the box and known by its caption or hint.
        QLabel *text = nullptr;
        for (QLabel *label : box.findChildren<QLabel *>())
            if (label->text() == QStringLiteral("Disse filtyper er tekstfiler, som kan åbnes til redigering i programmet."))
                text = label;
        QVERIFY(text);
        const QList<QWidget *> order{text,
                                     typeform->typeliste,
                                     control<QLineEdit>(QStringLiteral("Tekst")),
                                     control(QStringLiteral("Standard")),
                                     control(QStringLiteral("Gem og luk"))};
        for (qsizetype i = 0; i < order.size(); ++i) {
            QVERIFY(order[i]);
            if (i > 0)
                QVERIFY(order[i]->geometry().top() >= order[i - 1]->geometry().bottom());
        }
        QCOMPARE(control<QLineEdit>(QStringLiteral("Tekst")), typeform->tekstedit);
        QCOMPARE(control<QLineEdit>(QStringLiteral("Type")), typeform->typeedit);
        for (const char *name : {"Indfør i listen", "Standard", "Slet valgte fra listen", "Flyt valgte filtype op i listen",
                                 "Flyt valgte filtype ned i listen", "Information", "Annuller", "Gem og luk"}) {
            QWidget *found = control(QString::fromUtf8(name));
            QVERIFY2(found, name);
            QVERIFY2(box.rect().contains(QRect(found->mapTo(&box, QPoint()), found->size())), name);
        }
        QVERIFY(!typeform->saveknap->isEnabled());

        // The information button explains the box and goes back to it.
        program.modal.press(QStringLiteral("OK"));
        click(QStringLiteral("Information"));
        QCOMPARE(program.modal.shown.last().title, QStringLiteral("Information"));
        QVERIFY(program.modal.shown.last().text.contains(QStringLiteral("\"Gem og luk\"")));
        QVERIFY(box.isVisible());

        // Escape closes without saving what was inserted.
        QTest::keyClicks(typeform->tekstedit, QStringLiteral("Data"));
        QTest::keyClicks(typeform->typeedit, QStringLiteral("dat"));
        QTest::keyClick(typeform->typeedit, Qt::Key_Return);
        QCOMPARE(rows(), QStringList({"Data", "*.dat", "1"}));
        QVERIFY(typeform->saveknap->isEnabled());
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    QVERIFY(!QFileInfo::exists(extListeFile(program)));
    QVERIFY(mainform->extListe.isEmpty());
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::insertNormalisesTheType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QStringList>("added");
    QTest::newRow("txt") << "Tekst" << "txt" << true << QStringList({"Tekst", "*.txt", "1"});
    QTest::newRow(".txt") << "Tekst" << ".txt" << false << QStringList({"Tekst", "*.txt", "1"});
    QTest::newRow("*.txt") << "Tekst" << "*.txt" << true << QStringList({"Tekst", "*.txt", "1"});
    QTest::newRow("letter case kept") << "Tekst" << "TXT" << false << QStringList({"Tekst", "*.TXT", "1"});
    QTest::newRow("last dot counts") << "Flere" << "a.b.c" << true << QStringList({"Flere", "*.c", "1"});
    QTest::newRow("*.* stays") << "Alle" << "*.*" << false << QStringList({"Alle", "*.*", "1"});
    QTest::newRow("ending in a dot") << "Uden" << "x." << true << QStringList({"Uden", "*.", "1"});
    QTest::newRow("spaces around both") << "  Mine noter " << "  .md  " << true << QStringList({"Mine noter", "*.md", "1"});
    QTest::newRow("spaces around *.*") << "Alle" << " *.* " << false << QStringList({"Alle", "*.*", "1"});
    QTest::newRow("no name") << "" << "txt" << true << QStringList();
    QTest::newRow("no type") << "Tekst" << "" << false << QStringList();
    QTest::newRow("only spaces as type") << "Tekst" << "   " << true << QStringList();
}

void TestFiltyper::insertNormalisesTheType()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QStringList, added);
    ProgramFixture program;
    writeSettingsFile(program, QStringLiteral("ExtListe.txt"), crlf({"Tekstfil", "*.txt", "1"}));
    program.start();

    withBox(program, [&](QDialog &) {
        QTest::keyClicks(typeform->tekstedit, name);
        QTest::keyClicks(typeform->typeedit, typed);
        if (byEnter)
            QTest::keyClick(typeform->typeedit, Qt::Key_Return);
        else
            click(QStringLiteral("Indfør i listen"));
        QCOMPARE(rows(), QStringList({"Tekstfil", "*.txt", "1"}) + added);
        QCOMPARE(typeform->saveknap->isEnabled(), !added.isEmpty());
        if (!added.isEmpty()) {
            QVERIFY(typeform->tekstedit->text().isEmpty());
            QVERIFY(typeform->typeedit->text().isEmpty());
            QCOMPARE(typeform->focusWidget(), typeform->tekstedit);
            QVERIFY(typeform->isItTextfile(added[1].toLower()));
        }
        click(QStringLiteral("Gem og luk"));
    });
    // Enter inserted and pressed no other button of the box.
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
    QCOMPARE(program.modal.shown.size(), 1);
    const QStringList saved = QStringList({"Tekstfil", "*.txt", "1"}) + added;
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)), crlf(saved));
    QCOMPARE(mainform->extListe, saved);
}

void TestFiltyper::movingRows()
{
    ProgramFixture program;
    writeSettingsFile(program, QStringLiteral("ExtListe.txt"), crlf(threeTypes));
    program.start();
    const QString up = QStringLiteral("Flyt valgte filtype op i listen");
    const QString down = QStringLiteral("Flyt valgte filtype ned i listen");

    withBox(program, [&](QDialog &) {
        const auto enabled = [&] {
            TAction::updateAll();
            return QList<bool>({typeform->aDelete->isEnabled(), typeform->Aop->isEnabled(), typeform->Aned->isEnabled()});
        };
        QCOMPARE(enabled(), QList<bool>({false, false, false}));
        QVERIFY(!typeform->saveknap->isEnabled());
        selectRow(0);
        QCOMPARE(enabled(), QList<bool>({true, false, true}));
        // Selecting is a change the list reports.
        QVERIFY(typeform->saveknap->isEnabled());
        selectRow(2);
        QCOMPARE(enabled(), QList<bool>({true, true, false}));

        // The second row up reaches the first place: nothing stays selected.
        selectRow(1);
        click(up);
        QCOMPARE(rows(), QStringList({"Beta", "*.b", "0", "Alfa", "*.a", "1", "Gamma", "*.c", "1"}));
        QCOMPARE(selectedRow(), -1);
        QCOMPARE(enabled(), QList<bool>({false, false, false}));

        // The first row down stays selected in its new place.
        selectRow(0);
        click(down);
        QCOMPARE(rows(), QStringList({"Alfa", "*.a", "1", "Beta", "*.b", "0", "Gamma", "*.c", "1"}));
        QCOMPARE(selectedRow(), 1);

        // Up to any place but the first keeps the row selected.
        selectRow(2);
        click(up);
        QCOMPARE(rows(), QStringList({"Alfa", "*.a", "1", "Gamma", "*.c", "1", "Beta", "*.b", "0"}));
        QCOMPARE(selectedRow(), 1);

        // A move past either end, before the idle update has disabled it, changes nothing.
        selectRow(0);
        typeform->Aop->setEnabled(true);
        typeform->Aop->trigger();
        selectRow(2);
        typeform->Aned->setEnabled(true);
        typeform->Aned->trigger();
        QCOMPARE(rows(), QStringList({"Alfa", "*.a", "1", "Gamma", "*.c", "1", "Beta", "*.b", "0"}));
        QCOMPARE(selectedRow(), 2);
        click(QStringLiteral("Gem og luk"));
    });
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)),
             crlf({"Alfa", "*.a", "1", "Gamma", "*.c", "1", "Beta", "*.b", "0"}));
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::deleteAsksFirst_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Ja") << "Ja" << QStringList({"Alfa", "*.a", "1", "Gamma", "*.c", "1"});
    QTest::newRow("Nej") << "Nej" << threeTypes;
}

void TestFiltyper::deleteAsksFirst()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, left);
    ProgramFixture program;
    writeSettingsFile(program, QStringLiteral("ExtListe.txt"), crlf(threeTypes));
    program.start();

    withBox(program, [&](QDialog &) {
        selectRow(1);
        typeform->saveknap->setEnabled(false);
        program.modal.press(answer);
        click(QStringLiteral("Slet valgte fra listen"));
        QCOMPARE(program.modal.shown.last().title, QStringLiteral("Spørgsmål"));
        QCOMPARE(program.modal.shown.last().text,
                 shownText(QStringLiteral("Skal filtypen:\rBeta\rslettes?\rHusk at gemme, hvis ændringer skal bevares.")));
        QCOMPARE(rows(), left);
        QCOMPARE(typeform->saveknap->isEnabled(), answer == QStringLiteral("Ja"));
        click(QStringLiteral("Annuller"));
    });
    // Not saved: the file, the memory list and the next showing still have the row.
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)), crlf(threeTypes));
    QCOMPARE(mainform->extListe, threeTypes);
    withBox(program, [&](QDialog &) {
        QCOMPARE(rows(), threeTypes);
        click(QStringLiteral("Annuller"));
    });
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::standardList_data()
{
    QTest::addColumn<bool>("listBefore");
    QTest::addColumn<QString>("answer");
    QTest::newRow("own list, Ja") << true << "Ja";
    QTest::newRow("own list, Nej") << true << "Nej";
    QTest::newRow("no list yet, Ja") << false << "Ja";
}

void TestFiltyper::standardList()
{
    QFETCH(bool, listBefore);
    QFETCH(QString, answer);
    const QStringList own{"Mine", "*.xyz", "0"};
    ProgramFixture program;
    if (listBefore)
        writeSettingsFile(program, QStringLiteral("ExtListe.txt"), crlf(own));
    program.start();
    const bool answeredYes = answer == QStringLiteral("Ja");
    const QStringList before = listBefore ? own : QStringList();
    const QStringList after = answeredYes ? Tmainform::standardTypeList : before;

    withBox(program, [&](QDialog &) {
        QCOMPARE(rows(), before);
        program.modal.press(answer);
        click(QStringLiteral("Standard"));
        QCOMPARE(shownText(program.modal.shown.last().text),
                 shownText(QStringLiteral("Der vil muligvist blive fjernet typer, der er indført senere!\r"
                                          "Skal standardlisten hentes alligevel?")));
        QCOMPARE(rows(), after);
        if (answeredYes)
            QVERIFY(!typeform->saveknap->isEnabled());
        click(QStringLiteral("Annuller"));
    });
    // "Standard" saved at once; "Annuller" afterwards takes nothing back.
    QCOMPARE(QFileInfo::exists(extListeFile(program)), !after.isEmpty());
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)), after.isEmpty() ? QByteArray() : crlf(after));
    QCOMPARE(mainform->extListe, after);
    withBox(program, [&](QDialog &) {
        QCOMPARE(rows(), after);
        click(QStringLiteral("Annuller"));
    });
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::handEditedFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("linesInMemory");
    QTest::newRow("seven lines: the last is ignored")
        << QByteArray("Alfa\r\n*.a\r\n1\r\nBeta\r\n*.b\r\n0\r\nGamma\r\n") << QStringList({"Alfa", "*.a", "1", "Beta", "*.b", "0"}) << 7;
    QTest::newRow("only a mark of exactly 1 ticks")
        << QByteArray("A\r\n*.a\r\n 1\r\nB\r\n*.b\r\n2\r\nC\r\n*.c\r\nja\r\nD\r\n*.d\r\n1 \r\n")
        << QStringList({"A", "*.a", "0", "B", "*.b", "0", "C", "*.c", "0", "D", "*.d", "0"}) << 12;
    QTest::newRow("blank lines are lines") << QByteArray("\r\n\r\n1\r\nX\r\n*.x\r\n1\r\n\r\n")
                                           << QStringList({"", "", "1", "X", "*.x", "1"}) << 7;
    QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF\xC3\x86" "ble\r\n*.\xC3\xA6\r\n1\r\n")
                                           << QStringList({"Æble", "*.æ", "1"}) << 3;
    QTest::newRow("UTF-16 byte-order mark")
        << QByteArray("\xFF\xFE" "B\0\r\0\n\0*\0.\0b\0\r\0\n\0" "1\0\r\0\n\0", 20) << QStringList({"B", "*.b", "1"}) << 3;
    QTest::newRow("Danish ANSI bytes, LF only") << QByteArray("\xC6" "ble\n*.x\n1\n") << QStringList({"Æble", "*.x", "1"}) << 3;
    QTest::newRow("a very long line") << (QByteArray(200000, 'n') + "\r\n*.lang\r\n1\r\n")
                                      << QStringList({QString(200000, QLatin1Char('n')), "*.lang", "1"}) << 3;
    QTest::newRow("binary bytes") << QByteArray("\x00\x01\r\n\xFF\xFE\x00\r\n1", 10)
                                  << QStringList({QString(QChar(0)) + QChar(1), QStringLiteral("ÿþ") + QChar(0), "1"}) << 3;
}

void TestFiltyper::handEditedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, shown);
    QFETCH(int, linesInMemory);
    ProgramFixture program;
    writeSettingsFile(program, QStringLiteral("ExtListe.txt"), content);
    program.start();
    if (linesInMemory)
        QCOMPARE(mainform->extListe.size(), linesInMemory);

    withBox(program, [&](QDialog &) {
        QCOMPARE(rows(), shown);
        click(QStringLiteral("Annuller"));
    });
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)), content);
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::savedListDecidesWhatOpensWithoutAsking()
{
    ProgramFixture program;
    program.start();
    const QString data = program.writeFile(QStringLiteral("a.dat"), "data");
    const QString log = program.writeFile(QStringLiteral("b.log"), "log");
    const QString ini = program.writeFile(QStringLiteral("c.INI"), "ini");

    withBox(program, [&](QDialog &) {
        for (const auto &[name, type] : {std::pair{"Data", "dat"}, {"Log", ".log"}, {"Ini", "*.ini"}, {"Ini igen", "ini"}}) {
            QTest::keyClicks(typeform->tekstedit, QString::fromUtf8(name));
            QTest::keyClicks(typeform->typeedit, QString::fromUtf8(type));
            QTest::keyClick(typeform->typeedit, Qt::Key_Return);
        }
        typeform->typeliste->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        typeform->typeliste->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        click(QStringLiteral("Gem og luk"));
    });
    const QStringList saved{"Data", "*.dat", "1", "Log", "*.log", "0", "Ini", "*.ini", "0", "Ini igen", "*.ini", "1"};
    QCOMPARE(ProgramFixture::readFile(extListeFile(program)), crlf(saved));
    QCOMPARE(mainform->extListe, saved);
    QCOMPARE(program.modal.shown.size(), 1);

    // Ticked (also by a later row of the same type): opens without a question.
    mainform->funk->openwin(data, QString());
    mainform->funk->openwin(ini, QString());
    QCOMPARE(mainform->documentWindows().size(), 2);
    QCOMPARE(program.modal.shown.size(), 1);

    // Unticked: asked first; "Nej" opens nothing, "Ja" opens it.
    program.modal.press(QStringLiteral("Nej"));
    mainform->funk->openwin(log, QString());
    QCOMPARE(program.modal.shown.size(), 2);
    QVERIFY(program.modal.shown.last().text.startsWith(QStringLiteral("Filtype: .log")));
    QCOMPARE(mainform->documentWindows().size(), 2);
    program.modal.press(QStringLiteral("Ja"));
    mainform->funk->openwin(log, QString());
    QStringList opened;
    for (TDocumentForm *window : mainform->documentWindows())
        opened << window->Filnavn;
    QCOMPARE(opened, QStringList({data, ini, log}));
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::failedSaveKeepsTheBoxOpen()
{
    ProgramFixture program;
    // A folder where the list's file belongs: it can be neither read nor replaced.
    QVERIFY(QDir().mkpath(extListeFile(program)));
    program.start();
    withBox(program, [&](QDialog &) {
        QTest::keyClicks(typeform->tekstedit, QStringLiteral("Log"));
        QTest::keyClicks(typeform->typeedit, QStringLiteral("log"));
        QTest::keyClick(typeform->typeedit, Qt::Key_Return);
        program.modal.press(QStringLiteral("OK"));
        click(QStringLiteral("Gem og luk"));
        QVERIFY(program.modal.shown.last().text.startsWith(QStringLiteral("Filen kunne ikke gemmes:")));
        QVERIFY(typeform->isVisible());
        QCOMPARE(typeform->typeliste->topLevelItemCount(), 1);
        click(QStringLiteral("Annuller"));
    });
    QVERIFY2(program.modal.unexpected.isEmpty(), qPrintable(program.modal.unexpected.join(QStringLiteral(" | "))));
}

void TestFiltyper::heightIsRemembered_data()
{
    QTest::addColumn<QByteArray>("remembered");
    QTest::addColumn<int>("height");
    QTest::newRow("0 is the smallest") << QByteArray("0") << 490;
    QTest::newRow("below the smallest") << QByteArray("300") << 490;
    QTest::newRow("taller") << QByteArray("520") << 520;
    QTest::newRow("negative") << QByteArray("-40") << 490;
    // -1: as tall as the screen lets it be, never below the smallest.
    QTest::newRow("taller than any screen") << QByteArray("99999") << -1;
}

void TestFiltyper::heightIsRemembered()
{
    QFETCH(QByteArray, remembered);
    QFETCH(int, height);
    ProgramFixture program;
    writeSettingsFile(program, QStringLiteral("Main.txt"), "700\r\n500\r\n30\r\n40\r\n" + remembered + "\r\n");
    program.start();
    if (height < 0) {
        height = qMax(490, typeform->screen()->availableGeometry().height());
        QVERIFY(height < 99999);
    }
    QCOMPARE(typeform->height(), height);

    withBox(program, [&](QDialog &box) {
        QCOMPARE(box.height(), height);
        QCOMPARE(mainform->filtypeBoksHeight, remembered.toInt());
        box.resize(274, 530);
        QCOMPARE(mainform->filtypeBoksHeight, 530);
        click(QStringLiteral("Annuller"));
    });
    withBox(program, [&](QDialog &box) {
        QCOMPARE(box.height(), 530);
        click(QStringLiteral("Annuller"));
    });
    QVERIFY(program.close());
    const QList<QByteArray> lines = ProgramFixture::readFile(QDir(program.optMappe()).filePath(QStringLiteral("Main.txt"))).split('\n');
    QCOMPARE(lines.value(4), QByteArray("530\r"));

    // The next start opens the box at that height.
    program.start();
    QCOMPARE(typeform->height(), 530);
}

void TestFiltyper::linesMakeEntries_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<FileType>>("entries");
    QTest::addColumn<std::optional<FileType>>("unfinished");
    const FileType a{QStringLiteral("A"), QStringLiteral("*.a"), true};
    const FileType b{QStringLiteral("B"), QStringLiteral("*.b"), false};
    QTest::newRow("none") << QStringList() << QList<FileType>() << std::optional<FileType>();
    QTest::newRow("two entries") << QStringList{"A", "*.a", "1", "B", "*.b", "0"} << QList<FileType>{a, b}
                                 << std::optional<FileType>();
    QTest::newRow("written back") << fileTypeLines({a, b}) << QList<FileType>{a, b} << std::optional<FileType>();
    QTest::newRow("a text after the last entry")
        << QStringList{"A", "*.a", "1", "C"} << QList<FileType>{a}
        << std::optional(FileType{QStringLiteral("C"), QString(), false});
    QTest::newRow("a text and a mask after the last entry")
        << QStringList{"A", "*.a", "1", "C", "*.c"} << QList<FileType>{a}
        << std::optional(FileType{QStringLiteral("C"), QStringLiteral("*.c"), false});
    QTest::newRow("only a mark of exactly 1 offers")
        << QStringList{"A", "*.a", "1 ", "B", "*.b", "ja"}
        << QList<FileType>{{QStringLiteral("A"), QStringLiteral("*.a"), false}, b} << std::optional<FileType>();
}

// A list's lines are read into entries in one place, and the entries written back as the same
// lines; what stands after the last whole entry is kept apart.
void TestFiltyper::linesMakeEntries()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<FileType>, entries);
    QFETCH(std::optional<FileType>, unfinished);
    std::optional<FileType> left;
    QCOMPARE(readFileTypes(lines, &left), entries);
    QCOMPARE(left, unfinished);
    QCOMPARE(readFileTypes(lines), entries);
    QCOMPARE(readFileTypes(fileTypeLines(entries)), entries);
}

QTEST_MAIN(TestFiltyper)
#include "tst_filtyper.moc"
