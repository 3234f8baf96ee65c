#include "documents/Win2.h"

#include "documents/ColorGrid.h"
#include "platform/Designs.h"
#include "platform/RichTextEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/ToolRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct SizeButton {
    const char *name;
    int size;
};
const SizeButton sizeButtonTable[] = {{"sb10", 10}, {"sb12", 12}, {"sb14", 14}, {"sb16", 16},
                                      {"sb18", 18}, {"sb20", 22}, {"sb24", 24}, {"sb36", 36}};

const char *const fontMenuNames[] = {"Arial",          "Courier New", "Georgia", "Lucida Calligraphy",
                                     "Lucida Console", "Segoe Print", "Tahoma",  "Verdana"};

} // namespace

Twinform2::Twinform2(const DocumentOpening &opening, const FrameCommands &commands)
    : TDocumentForm(new Platform::RichTextEdit(nullptr), opening)
{
    setObjectName(QStringLiteral("winform2"));
    m_noNameText = QStringLiteral("Dokumentet har ikke fået navn.");
    m_longLinesText = QStringLiteral("Dokumentet har meget lange afsnit: stavekontrol er slået fra.");
    m_saveFilterIndex = 2;
    m_defaultExtension = QStringLiteral(".rtf");
    // The twin's own wording of the edit commands.
    EditCut1->setHint(QStringLiteral("Klip til klipbordet"));
    EditCopy1->setHint(QStringLiteral("Kopier til klipbordet"));
    EditPaste1->setText(QStringLiteral("Sæt ind"));
    EditPaste1->setHint(QStringLiteral("Paste|Inserts Clipboard contents"));
    EditSelectAll1->setText(QStringLiteral("Marker alt"));
    EditSelectAll1->setHint(QStringLiteral("Select All|Selects the entire document"));
    EditUndo1->setHint(QStringLiteral("Undo|Reverts the last action"));
    EditDelete1->setHint(QStringLiteral("Delete|Erases the selection"));
    aStavekontrol->setHint(QStringLiteral("Udfør stavekontrol"));
    buildActions();
    buildToolPanel(commands);
    buildMenus(commands);
    Editor->setWordWrap(true);
    Editor->setDefaultFont(QStringLiteral("Tahoma"), 10);
    FormCreate();
}

Platform::RichTextEdit *Twinform2::rich() const
{
    return static_cast<Platform::RichTextEdit *>(Editor);
}

void Twinform2::buildActions()
{
    RichEditBold2 = newAction("RichEditBold2", QStringLiteral("Fed"), QStringLiteral("Fed skrift: Ctrl+B"), "Ctrl+B");
    RichEditItalic2 = newAction("RichEditItalic2", QStringLiteral("Kursiv"), QStringLiteral("Kursiv tekst: Ctrl+I"), "Ctrl+I");
    RichEditUnderline2 = newAction("RichEditUnderline2", QStringLiteral("Understreg"), QStringLiteral("Understreg tekst: Ctrl+U"), "Ctrl+U");
    RichEditBullets2 = newAction("RichEditBullets2", QStringLiteral("Prik"),
                            QStringLiteral("Indsæt eller fjer prik før aktuelle linie: Ctrl+P"), "Ctrl+P");
    RichEditAlignLeft2 = newAction("RichEditAlignLeft2", QStringLiteral("Venstrestil"), QStringLiteral("Venstrestiller teksten"), nullptr);
    RichEditAlignCenter2 = newAction("RichEditAlignCenter2", QStringLiteral("Centrer"), QStringLiteral("Centrerer teksten"), nullptr);
    RichEditAlignRight2 = newAction("RichEditAlignRight2", QStringLiteral("Højrestil"), QStringLiteral("Højrestiller teksten"), nullptr);
    aMargin = newAction("aMargin", QStringLiteral("Margin"), QStringLiteral("Set margin for valgte afsnit eller aktuelle linie"), nullptr);
    EditModified = newAction("EditModified", QString(), QStringLiteral("Dokumentet er ikke ændret"), nullptr);

    for (TAction *action : {RichEditBold2, RichEditItalic2, RichEditUnderline2, RichEditBullets2, RichEditAlignLeft2,
                            RichEditAlignCenter2, RichEditAlignRight2})
        action->setCheckable(true);
    const QList<std::pair<TAction *, const char *>> icons{
        {RichEditBold2, "format-text-bold"},          {RichEditItalic2, "format-text-italic"},
        {RichEditUnderline2, "format-text-underline"}, {RichEditBullets2, "format-list-unordered"},
        {RichEditAlignLeft2, "format-justify-left"},   {RichEditAlignCenter2, "format-justify-center"},
        {RichEditAlignRight2, "format-justify-right"}, {aMargin, "format-indent-more"}};
    for (const auto &[action, icon] : icons)
        action->setIcon(Platform::designIcon(QString::fromLatin1(icon)));

    // They show as pressed while the selection has that style or the paragraph that form.
    RichEditBold2->setUpdateRule([this] {
        RichEditBold2->setChecked(rich()->selectionFormat().fontWeight() >= QFont::Bold);
        return true;
    });
    RichEditItalic2->setUpdateRule([this] {
        RichEditItalic2->setChecked(rich()->selectionFormat().fontItalic());
        return true;
    });
    RichEditUnderline2->setUpdateRule([this] {
        RichEditUnderline2->setChecked(rich()->selectionFormat().fontUnderline());
        return true;
    });
    RichEditBullets2->setUpdateRule([this] {
        RichEditBullets2->setChecked(rich()->bullet());
        return true;
    });
    for (auto [action, side] : {std::pair{RichEditAlignLeft2, Qt::AlignLeft}, std::pair{RichEditAlignCenter2, Qt::AlignHCenter},
                                std::pair{RichEditAlignRight2, Qt::AlignRight}}) {
        action->setUpdateRule([this, action, side] {
            const Qt::Alignment current = rich()->alignment() & Qt::AlignHorizontal_Mask;
            action->setChecked(side == Qt::AlignLeft ? (current == Qt::AlignLeft || current == Qt::AlignLeading)
                                                     : current == side);
            return true;
        });
        connect(action, &QAction::triggered, this, [this, action, side] {
            rich()->setAlignment(side);
            action->setChecked(true);
        });
    }
    EditModified->setUpdateRule([this] {
        EditModifiedUpdate();
        return true;
    });

    connect(RichEditBold2, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        rich()->mergeFormat(format);
    });
    connect(RichEditItalic2, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        rich()->mergeFormat(format);
    });
    connect(RichEditUnderline2, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        rich()->mergeFormat(format);
    });
    connect(RichEditBullets2, &QAction::triggered, this, [this](bool on) { rich()->setBullet(on); });
    connect(aMargin, &QAction::triggered, this, [this] { rich()->setIndents(4, 0, 5); });
}

void Twinform2::buildToolPanel(const FrameCommands &commands)
{
    redskabsPanel->setFixedHeight(108);
    auto *panel = new QHBoxLayout(redskabsPanel);
    panel->setContentsMargins(4, 2, 4, 2);
    ColorGrid = new TColorGrid(redskabsPanel);
    panel->addWidget(ColorGrid, 0, Qt::AlignTop);
    connect(ColorGrid, &TColorGrid::colourChosen, this, [this](const QColor &colour) {
        QTextCharFormat format;
        format.setForeground(colour);
        rich()->mergeFormat(format);
        ColorGrid->setMarked(colour);
    });

    auto *rows = new QVBoxLayout;
    rows->setSpacing(2);
    QToolBar *first = toolRow(redskabsPanel, QStringLiteral("fontRow"));
    FontNameBox = new QComboBox(redskabsPanel);
    FontNameBox->setObjectName(QStringLiteral("FontNameBox"));
    FontNameBox->setAccessibleName(QStringLiteral("Fontnavn"));
    FontNameBox->setEditable(true);
    FontNameBox->setInsertPolicy(QComboBox::NoInsert);
    FontNameBox->setMinimumWidth(160);
    setFontNameBox(FontNameBox);
    // A typed name that matches no entry changes nothing.
    connect(FontNameBox, &QComboBox::textActivated, this, [this](const QString &name) {
        if (FontNameBox->findText(name, Qt::MatchFixedString) < 0)
            return;
        QTextCharFormat format;
        format.setFontFamilies({name});
        rich()->mergeFormat(format);
    });
    first->addWidget(FontNameBox);
    Button1 = new QToolButton(redskabsPanel);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(QStringLiteral("Fonte"));
    Button1->setAccessibleName(QStringLiteral("Fonte"));
    Button1->setPopupMode(QToolButton::InstantPopup);
    first->addWidget(Button1);
    addSpring(first);
    modiButton = new QToolButton(redskabsPanel);
    modiButton->setObjectName(QStringLiteral("modiButton"));
    modiButton->setDefaultAction(EditModified);
    modiButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    modiButton->setAccessibleName(QStringLiteral("Redigeret"));
    first->addWidget(modiButton);
    rows->addWidget(first);

    QToolBar *second = toolRow(redskabsPanel, QStringLiteral("sizeRow"));
    second->addWidget(fontsizeBox);
    connect(fontsizeBox, &QComboBox::activated, this, [this] {
        QTextCharFormat format;
        format.setFontPointSize(fontsizeBox->currentText().toInt());
        rich()->mergeFormat(format);
    });
    for (const SizeButton &entry : sizeButtonTable) {
        auto *button = new QToolButton(redskabsPanel);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setText(QString::number(entry.size));
        button->setAccessibleName(QStringLiteral("Fontstørrelse ") + QString::number(entry.size));
        setHint(button, QStringLiteral("Fontstørrelse ") + QString::number(entry.size));
        connect(button, &QToolButton::clicked, this, [this, size = entry.size] { SetSize(size); });
        sizeButtons << button;
        second->addWidget(button);
    }
    addSpring(second);
    second->addWidget(actionButton(googleUrl));
    second->addWidget(actionButton(bingUrl));
    second->addWidget(actionButton(tubeUrl));
    rows->addWidget(second);

    QToolBar *bar = toolRow(redskabsPanel, QStringLiteral("rtfToolbar"));
    rtfToolbar = bar;
    Info = new QStatusBar(rtfToolbar);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setSizeGripEnabled(false);
    for (const QString &text : {QStringLiteral("Linier"), QStringLiteral("0"), QStringLiteral("Pos"), QStringLiteral("1,0"), QString()}) {
        auto *label = new QLabel(text, Info);
        infoPanels << label;
        Info->addWidget(label);
    }
    Info->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(Info);
    for (QAction *action : {static_cast<QAction *>(aMargin), static_cast<QAction *>(RichEditBullets2),
                            static_cast<QAction *>(RichEditBold2), static_cast<QAction *>(RichEditItalic2),
                            static_cast<QAction *>(RichEditUnderline2), static_cast<QAction *>(RichEditAlignLeft2),
                            static_cast<QAction *>(RichEditAlignCenter2), static_cast<QAction *>(RichEditAlignRight2)}) {
        QToolButton *button = actionButton(action);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->addWidget(button);
    }
    ToolButton5 = new QToolButton(rtfToolbar);
    ToolButton5->setObjectName(QStringLiteral("ToolButton5"));
    ToolButton5->setText(QStringLiteral("Edit funktioner"));
    ToolButton5->setAccessibleName(QStringLiteral("Edit funktioner"));
    ToolButton5->setPopupMode(QToolButton::InstantPopup);
    ToolButton5->setMenu(dropDownPU);
    bar->addWidget(ToolButton5);
    bar->addWidget(actionButton(commands.fileInformation));
    bar->addWidget(puButton);
    bar->addWidget(actionButton(aStavekontrol));
    bar->addWidget(actionButton(commands.close));
    rows->addWidget(rtfToolbar);
    panel->addLayout(rows, 1);
}

void Twinform2::buildMenus(const FrameCommands &commands)
{
    winPU = new QMenu(this);
    winPU->setObjectName(QStringLiteral("winPU"));
    for (QMenu *menu : {winPU, dropDownPU}) {
        menu->addAction(EditUndo1);
        menu->addSeparator();
        menu->addActions({EditCut1, EditCopy1, EditPaste1});
        menu->addSeparator();
        menu->addActions({EditSelectAll1, EditDelete1});
        menu->addSeparator();
        menu->addActions({commands.save, commands.saveAs});
    }
    dropDownPU->addSeparator();
    dropDownPU->addAction(commands.print);
    setWindowMenu(winPU);

    FontPU = new QMenu(this);
    FontPU->setObjectName(QStringLiteral("FontPU"));
    int number = 1;
    for (const char *name : fontMenuNames) {
        QAction *entry = FontPU->addAction(QString::fromLatin1(name));
        entry->setObjectName(QStringLiteral("mFont") + QString::number(number++));
        connect(entry, &QAction::triggered, this, [this, family = QString::fromLatin1(name)] {
            FontFelter(family);
            QTextCharFormat format;
            format.setFontFamilies({FontNameBox->currentText()});
            rich()->mergeFormat(format);
        });
    }
    Button1->setMenu(FontPU);
}

void Twinform2::FontFelter(const QString &FontNavn)
{
    if (FontNameBox->count() > 0)
        FontNameBox->setCurrentIndex(FontNameBox->findText(FontNavn, Qt::MatchExactly));
    if (FontNameBox->currentIndex() < 0) {
        // Fonts met in the text join the list for the window's life.
        FontNameBox->addItem(FontNavn);
        FontNameBox->setCurrentIndex(FontNameBox->count() - 1);
        FontNameBox->setMaxVisibleItems(FontNameBox->count());
    }
}

void Twinform2::FontFelterSize(int FontDim)
{
    const int index = fontsizeBox->findText(QString::number(FontDim));
    fontsizeBox->setCurrentIndex(index >= 0 ? index : 0);
}

void Twinform2::SetSize(int Siz)
{
    const int index = fontsizeBox->findText(QString::number(Siz));
    if (index < 0)
        return;
    fontsizeBox->setCurrentIndex(index);
    QTextCharFormat format;
    format.setFontPointSize(Siz);
    rich()->mergeFormat(format);
}

void Twinform2::XYinfoRich()
{
    const QTextCharFormat format = rich()->selectionFormat();
    const QStringList families = format.fontFamilies().toStringList();
    FontFelter(families.isEmpty() ? Editor->document()->defaultFont().family() : families.first());
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : Editor->document()->defaultFont().pointSizeF();
    FontFelterSize(qRound(points));
    ColorGrid->setMarked(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(Qt::black));
}

void Twinform2::showCaretPosition()
{
    XYinfoRich();
    infoPanels[1]->setText(lineCountText());
    infoPanels[3]->setText(QString::number(posY + 1) + QLatin1Char(',') + QString::number(posX));
}

void Twinform2::EditModifiedUpdate()
{
    const bool modified = Editor->isModified();
    // The button is set again only when the state it shows changes: every setting repaints it,
    // and a repaint on each idle moment would keep the program busy.
    if (m_shownModified == modified)
        return;
    m_shownModified = modified;
    EditModified->setText(modified ? QStringLiteral("Redigeret") : QString());
    EditModified->setHint(modified ? QStringLiteral("Dokumentet er ændret") : QStringLiteral("Dokumentet er ikke ændret"));
    EditModified->setIcon(Platform::designIcon(modified ? QStringLiteral("document-edit") : QStringLiteral("document-save")));
    // With "Redigeret" the button takes the width the design draws it in: a fixed guess cut it.
    modiButton->setFixedWidth(modified ? modiButton->sizeHint().width() : 24);
}

void Twinform2::aStavekontrolExecute()
{
    // Checked again in place: the user's clipboard is left alone.
    Editor->recheckSpelling();
    Editor->setSelection(qMin(1, Editor->textLength()), 0);
}
