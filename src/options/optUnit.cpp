#include "options/optUnit.h"

#include "app/BoxSettings.h"
#include "app/Globals.h"
#include "app/Hints.h"
#include "app/Main.h"
#include "app/RadioGroup.h"
#include "platform/DataFolders.h"
#include "platform/LineFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

const QStringList Toptform::standardFonts{
    QStringLiteral("Arial"),          QStringLiteral("Calibri"),          QStringLiteral("Consolas"),
    QStringLiteral("Courier New"),    QStringLiteral("Garamond"),         QStringLiteral("Lucida Calligraphy"),
    QStringLiteral("Lucida Console"), QStringLiteral("Lucida Handwriting"), QStringLiteral("Segoe Print"),
    QStringLiteral("Tahoma"),         QStringLiteral("Times New Roman"),  QStringLiteral("Verdana")};

const QStringList Toptform::fontSizes{
    QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"),
    QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"), QStringLiteral("22"), QStringLiteral("24"),
    QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};

namespace {

QCheckBox *tick(QWidget *parent, QLayout *layout, const char *name, const QString &caption, bool checked,
                const QString &hint = {})
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    box->setChecked(checked);
    if (!hint.isEmpty())
        setHint(box, hint);
    layout->addWidget(box);
    return box;
}

} // namespace

Toptform::Toptform(QWidget *parent)
    : TBox(parent, QStringLiteral("Egenskaber"))
{
    buildPanels();
}

void Toptform::buildPanels()
{
    auto *row = new QHBoxLayout(this);

    optPanel1 = new QGroupBox(QStringLiteral("Program"), this);
    optPanel1->setObjectName(QStringLiteral("optPanel1"));
    optPanel1->setFixedWidth(260);
    auto *program = new QVBoxLayout(optPanel1);
    program->addWidget(new QLabel(QStringLiteral("Design"), optPanel1));
    designBox = new QComboBox(optPanel1);
    designBox->setObjectName(QStringLiteral("designBox"));
    designBox->setAccessibleName(QStringLiteral("Design"));
    program->addWidget(designBox);
    auto *size = new QHBoxLayout;
    size->addWidget(new QLabel(QStringLiteral("Bredde:"), optPanel1));
    widthLabel = new QLabel(QStringLiteral("0"), optPanel1);
    size->addWidget(widthLabel);
    size->addWidget(new QLabel(QStringLiteral("Højde:"), optPanel1));
    heightLabel = new QLabel(QStringLiteral("0"), optPanel1);
    size->addWidget(heightLabel);
    program->addLayout(size);
    hintBox = new TRadioGroup(QStringLiteral("Element information"),
                              {QStringLiteral("Vis hints på informationslinjen"),
                               QStringLiteral("Vis hints ved de enkelte elementer"), QStringLiteral("Vis ikke hints")},
                              optPanel1);
    hintBox->setObjectName(QStringLiteral("hintBox"));
    hintBox->setItemIndex(0);
    program->addWidget(hintBox);
    program->addWidget(new QLabel(QStringLiteral("Opstart"), optPanel1));
    dokumentCheck = tick(optPanel1, program, "dokumentCheck", QStringLiteral("Dokumenter"), false);
    bokseCheck1 = tick(optPanel1, program, "bokseCheck1", QStringLiteral("Filer-mapper-boksen"), false);
    bokseCheck2 = tick(optPanel1, program, "bokseCheck2", QStringLiteral("Favorit-boksen"), false);
    bokseCheck3 = tick(optPanel1, program, "bokseCheck3", QStringLiteral("Dokumentboksen"), false);
    minimerCheck = tick(optPanel1, program, "minimerCheck", QStringLiteral("Minimer ved opstart"), false,
                        QStringLiteral("Fungerer ved næste programopstart"));
    program->addWidget(new QLabel(QStringLiteral("Lukning"), optPanel1));
    CheckVedLuk = tick(optPanel1, program, "CheckVedLuk", QStringLiteral("Gem favoritter ved programlukning"), false);
    row->addWidget(optPanel1);

    optPanel3 = new QGroupBox(QStringLiteral("Programspecialiteter"), this);
    optPanel3->setObjectName(QStringLiteral("optPanel3"));
    optPanel3->setFixedWidth(180);
    auto *special = new QVBoxLayout(optPanel3);
    CheckAskOpenDoc = tick(optPanel3, special, "CheckAskOpenDoc",
                           QStringLiteral("Spørg om hvad der skal gøres ved åbning af dokument"), false);
    dokumentlinjeCheck = tick(optPanel3, special, "dokumentlinjeCheck", QStringLiteral("Vis dokumentlinje"), true);
    windowsCheck = tick(optPanel3, special, "windowsCheck", QStringLiteral("Windows hovedmenu"), false,
                        QStringLiteral("Virker først ved næste opstart"));
    hovedmenuCheck = tick(optPanel3, special, "hovedmenuCheck", QStringLiteral("Vis hovedmenu"), true);
    trayCheck = tick(optPanel3, special, "trayCheck", QStringLiteral("Minimer til system bakken"), false);
    CheckInsertFirst = tick(optPanel3, special, "CheckInsertFirst",
                            QStringLiteral("Indsæt nye filnavne først i lister i stedet for sidst"), false);
    special->addWidget(new QLabel(QStringLiteral("Startop program"), optPanel3));
    row->addWidget(optPanel3);

    optPanel2 = new QGroupBox(QStringLiteral("Editor"), this);
    optPanel2->setObjectName(QStringLiteral("optPanel2"));
    optPanel2->setFixedWidth(269);
    auto *editor = new QVBoxLayout(optPanel2);
    editor->addWidget(new QLabel(QStringLiteral("Fontnavn"), optPanel2));
    fontnameBox = new QComboBox(optPanel2);
    fontnameBox->setObjectName(QStringLiteral("fontnameBox"));
    fontnameBox->setAccessibleName(QStringLiteral("Fontnavn"));
    fontnameBox->addItems(standardFonts);
    fontnameBox->setCurrentIndex(standardFonts.indexOf(QStringLiteral("Courier New")));
    editor->addWidget(fontnameBox);
    editor->addWidget(new QLabel(QStringLiteral("Størrelse"), optPanel2));
    fontsizeBox = new QComboBox(optPanel2);
    fontsizeBox->setObjectName(QStringLiteral("fontsizeBox"));
    fontsizeBox->setAccessibleName(QStringLiteral("Størrelse"));
    fontsizeBox->addItems(fontSizes);
    fontsizeBox->setCurrentIndex(fontSizes.indexOf(QStringLiteral("10")));
    editor->addWidget(fontsizeBox);
    popupBox = new TRadioGroup(QStringLiteral("Popupmenu"), {QStringLiteral("Funktioner"), QStringLiteral("Stavekontrol")},
                               optPanel2);
    popupBox->setObjectName(QStringLiteral("popupBox"));
    popupBox->setItemIndex(0);
    setHint(popupBox, QStringLiteral("Vælg opstarts popupmenu"));
    editor->addWidget(popupBox);
    redCheck = tick(optPanel2, editor, "redCheck", QStringLiteral("Vis redskabslinje"), true,
                    QStringLiteral("Vis redskabslinje ved nye tekstdokumenter"));
    marginCheck = tick(optPanel2, editor, "marginCheck", QStringLiteral("Editor med margins"), false,
                       QStringLiteral("Programstørrelse indrettes straks herefter med standardstørrelser"));
    editor->addWidget(new QLabel(QStringLiteral("Søg efter mapper og filer"), optPanel2));
    auto *maxRow = new QHBoxLayout;
    auto *maxLabel = new QLabel(QStringLiteral("Max elementer"), optPanel2);
    setHint(maxLabel, QStringLiteral("Herved undgås nærmest til grændsende uendelige lister"));
    maxRow->addWidget(maxLabel);
    maxFindEdit = new QLineEdit(optPanel2);
    maxFindEdit->setObjectName(QStringLiteral("maxFindEdit"));
    maxFindEdit->setAccessibleName(QStringLiteral("Max elementer"));
    maxFindEdit->setReadOnly(true);
    maxRow->addWidget(maxFindEdit);
    editor->addLayout(maxRow);
    editor->addWidget(new QLabel(QStringLiteral("Speciallister"), optPanel2));
    row->addWidget(optPanel2);
}

void Toptform::FormCreate()
{
    fontBoxFilename = Platform::joinPath(mainform->OptMappe, QStringLiteral("fontBox.txt"));
    if (Platform::fileExists(fontBoxFilename)) {
        if (const std::optional<QStringList> fonts = Platform::readLines(fontBoxFilename)) {
            fontnameBox->clear();
            fontnameBox->addItems(*fonts);
        }
    }
    lagerBoxFilename = Platform::joinPath(mainform->OptMappe, QStringLiteral("lagerBox.txt"));
    optFilnavn = Platform::joinPath(mainform->OptMappe, QStringLiteral("optUnit.txt"));
    HentOpt();
    designBox->setMaxVisibleItems(qMax(1, designBox->count()));
    maxFindEdit->setText(QString::number(maxElementer));
}

void Toptform::defaultOpt()
{
    designName = QStringLiteral("Windows10 Clear Day");
    if (fontnameBox->count() > 3)
        fontnameBox->setCurrentIndex(3);
    fontsizeBox->setCurrentIndex(2);
    maxElementer = 120;
}

void Toptform::HentOpt()
{
    const auto comboIndex = [](QComboBox *box, int index) {
        if (index >= 0 && index < box->count())
            box->setCurrentIndex(index);
    };
    readSettings(optFilnavn, {20, true, false, SettingsRules::Fallback::Defaults}, [this] { defaultOpt(); },
                 [&](SettingsLines &lines) {
                     designName = lines.text();
                     dokumentCheck->setChecked(lines.yesNo());
                     bokseCheck1->setChecked(lines.yesNo());
                     bokseCheck2->setChecked(lines.yesNo());
                     dokumentCheck->setChecked(lines.yesNo());
                     CheckVedLuk->setChecked(lines.yesNo());
                     CheckInsertFirst->setChecked(lines.yesNo());
                     hintBox->setItemIndex(lines.integer());
                     bokseCheck3->setChecked(lines.yesNo());
                     comboIndex(fontnameBox, lines.integer());
                     comboIndex(fontsizeBox, lines.integer());
                     CheckAskOpenDoc->setChecked(lines.yesNo());
                     redCheck->setChecked(lines.yesNo());
                     hovedmenuCheck->setChecked(lines.yesNo());
                     windowsCheck->setChecked(lines.yesNo());
                     maxElementer = lines.integer();
                     marginCheck->setChecked(lines.yesNo());
                     dokumentlinjeCheck->setChecked(lines.yesNo());
                     trayCheck->setChecked(lines.yesNo());
                     minimerCheck->setChecked(lines.yesNo());
                 });
}

void Toptform::GemOpt()
{
    SettingsWriter()
        .text(designName)
        .yesNo(dokumentCheck->isChecked())
        .yesNo(bokseCheck1->isChecked())
        .yesNo(bokseCheck2->isChecked())
        .yesNo(dokumentCheck->isChecked())
        .yesNo(CheckVedLuk->isChecked())
        .yesNo(CheckInsertFirst->isChecked())
        .integer(hintBox->itemIndex())
        .yesNo(bokseCheck3->isChecked())
        .integer(fontnameBox->currentIndex())
        .integer(fontsizeBox->currentIndex())
        .yesNo(CheckAskOpenDoc->isChecked())
        .yesNo(redCheck->isChecked())
        .yesNo(hovedmenuCheck->isChecked())
        .yesNo(windowsCheck->isChecked())
        .integer(maxElementer)
        .yesNo(marginCheck->isChecked())
        .yesNo(dokumentlinjeCheck->isChecked())
        .yesNo(trayCheck->isChecked())
        .yesNo(minimerCheck->isChecked())
        .write(optFilnavn);
}

void Toptform::setProgSize(int aW, int aH)
{
    widthLabel->setText(QString::number(aW));
    heightLabel->setText(QString::number(aH));
}
