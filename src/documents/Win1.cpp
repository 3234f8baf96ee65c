#include "documents/Win1.h"

#include "options/memoUnit.h"
#include "platform/PlainEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

Twinform1::Twinform1(const DocumentOpening &opening, const FrameCommands &commands)
    : TDocumentForm(new Platform::PlainEdit(nullptr), opening)
{
    setObjectName(QStringLiteral("winform1"));
    pasteFromInfo = newAction("pasteFromInfo", QStringLiteral("Indsæt"),
                              QStringLiteral("Indsætter tekst, der er kopieret i en informationsfil eller hjemmesidefil: Ctrl+W"),
                              "Ctrl+W");
    pasteFromInfo->setUpdateRule([this] { return Editor->canPaste(); });
    connect(pasteFromInfo, &QAction::triggered, this, &Twinform1::pasteFromInfoExecute);
    m_longLinesText = QStringLiteral(
        "Dokumentet har meget lange linjer. De vises i stykker, og ombrydning og stavekontrol er slået fra.");
    buildToolPanel(commands);
    buildMenus(commands);
    Editor->setWordWrap(true);
    FormCreate();
    // A file with very long lines opens without word wrap.
    wordwrapCheck->setChecked(Editor->wordWrap());
    connect(this, &TDocumentForm::loaded, this, [this] { wordwrapCheck->setChecked(Editor->wordWrap()); });
}

void Twinform1::buildToolPanel(const FrameCommands &commands)
{
    redskabsPanel->setFixedHeight(59);
    auto *toolRow = new QHBoxLayout(redskabsPanel);
    toolRow->setContentsMargins(4, 2, 4, 2);

    auto *fontBlock = new QVBoxLayout;
    fontBlock->setSpacing(2);
    auto *fonts = new QHBoxLayout;
    fontnameBox = new QComboBox(redskabsPanel);
    fontnameBox->setObjectName(QStringLiteral("fontnameBox"));
    fontnameBox->setAccessibleName(QStringLiteral("Fontnavn"));
    setFontNameBox(fontnameBox);
    fonts->addWidget(fontnameBox);
    fonts->addWidget(fontsizeBox);
    fontBlock->addLayout(fonts);
    wordwrapCheck = new QCheckBox(QStringLiteral("Tekstopbrydning"), redskabsPanel);
    wordwrapCheck->setObjectName(QStringLiteral("wordwrapCheck"));
    wordwrapCheck->setChecked(true);
    fontBlock->addWidget(wordwrapCheck);
    toolRow->addLayout(fontBlock);
    // Font and size apply to the whole text of a plain document.
    connect(fontnameBox, &QComboBox::activated, this,
            [this] { Editor->setDefaultFont(fontnameBox->currentText(), 0); });
    connect(fontsizeBox, &QComboBox::activated, this,
            [this] { Editor->setDefaultFont(fontnameBox->currentText(), fontsizeBox->currentText().toInt()); });
    connect(wordwrapCheck, &QCheckBox::clicked, this, &Twinform1::wordwrapCheckClick);

    auto *webBlock = new QVBoxLayout;
    webBlock->setSpacing(2);
    auto *webRow = new QHBoxLayout;
    webRow->addWidget(actionButton(bingUrl));
    webRow->addWidget(actionButton(googleUrl));
    webRow->addWidget(actionButton(tubeUrl));
    webBlock->addLayout(webRow);
    auto *fileRow = new QHBoxLayout;
    funkButton1 = new QToolButton(redskabsPanel);
    funkButton1->setObjectName(QStringLiteral("funkButton1"));
    funkButton1->setText(QStringLiteral("Fil"));
    funkButton1->setAccessibleName(QStringLiteral("Fil"));
    setHint(funkButton1, QStringLiteral("Åben filmenuen"));
    funkButton1->setPopupMode(QToolButton::InstantPopup);
    funkButton1->setMenu(dropDownPU);
    fileRow->addWidget(funkButton1);
    fileRow->addWidget(actionButton(commands.save));
    fileRow->addWidget(actionButton(commands.saveAs));
    fileRow->addWidget(actionButton(commands.fileInformation));
    webBlock->addLayout(fileRow);
    toolRow->addLayout(webBlock);

    auto *spellBlock = new QVBoxLayout;
    spellBlock->setSpacing(2);
    spellBlock->addWidget(puButton);
    spellBlock->addWidget(actionButton(aStavekontrol));
    toolRow->addLayout(spellBlock);

    auto *caretBlock = new QHBoxLayout;
    caretBlock->addWidget(new QLabel(QStringLiteral("Pos:"), redskabsPanel));
    posLabel = new QLabel(QStringLiteral("0,0"), redskabsPanel);
    posLabel->setObjectName(QStringLiteral("posLabel"));
    caretBlock->addWidget(posLabel);
    caretBlock->addSpacing(12);
    caretBlock->addWidget(new QLabel(QStringLiteral("Antal linjer:"), redskabsPanel));
    antalLabel = new QLabel(QStringLiteral("0"), redskabsPanel);
    antalLabel->setObjectName(QStringLiteral("antalLabel"));
    caretBlock->addWidget(antalLabel);
    toolRow->addLayout(caretBlock);
    toolRow->addStretch();
}

void Twinform1::buildMenus(const FrameCommands &commands)
{
    PUwin = new QMenu(this);
    PUwin->setObjectName(QStringLiteral("PUwin"));
    for (QMenu *menu : {PUwin, dropDownPU}) {
        menu->addAction(EditUndo1);
        menu->addSeparator();
        menu->addActions({EditCut1, EditCopy1, EditPaste1, pasteFromInfo});
        menu->addSeparator();
        menu->addActions({EditSelectAll1, EditDelete1});
        menu->addSeparator();
        menu->addActions({commands.close, commands.closeAll});
    }
    setWindowMenu(PUwin);
}

void Twinform1::showCaretPosition()
{
    antalLabel->setText(lineCountText());
    posLabel->setText(QString::number(posY + 1) + QLatin1Char(',') + QString::number(posX));
}

void Twinform1::wordwrapCheckClick()
{
    Editor->setWordWrap(wordwrapCheck->isChecked());
}

void Twinform1::aStavekontrolExecute()
{
    // Checked again in place: the user's clipboard is left alone.
    Editor->recheckSpelling();
    Editor->setSelection(0, 0);
    Editor->widget()->setFocus();
}

void Twinform1::pasteFromInfoExecute()
{
    QPlainTextEdit *memo = memoForm->Memo;
    memo->clear();
    memo->setFont(QFont(QStringLiteral("Courier New"), 10));
    memo->paste();
    memo->selectAll();
    memo->copy();
    Editor->paste();
}
