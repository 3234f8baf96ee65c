#include "options/optUnit.h"

#include "opening/Funktioner.h"
#include "options/boks.h"
#include "platform/Autostart.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "platform/LineFile.h"
#include "platform/Modal.h"
#include "platform/Shell.h"
#include "widgets/Action.h"
#include "widgets/BoxSettings.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/infUnit.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QDir>
#include <QStackedWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QMenuBar>
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
    optPanel1->setMinimumWidth(260);
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
    m_programColumn = program;
    m_programSizePlace = program->count();
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
    optPanel3->setMinimumWidth(180);
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
    startupButton = new QPushButton(QStringLiteral("Udfør"), optPanel3);
    startupButton->setObjectName(QStringLiteral("startupButton"));
    startupButton->setAccessibleName(QStringLiteral("Tilføj eller fjern programmet som Startop-program"));
    setHint(startupButton, QStringLiteral("Tilføj eller fjern programmet som Startop-program"));
    special->addWidget(startupButton);
    row->addWidget(optPanel3);

    optPanel2 = new QGroupBox(QStringLiteral("Editor"), this);
    optPanel2->setObjectName(QStringLiteral("optPanel2"));
    optPanel2->setMinimumWidth(269);
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
    auto *fontButtons = new QHBoxLayout;
    standardButton = new QPushButton(QStringLiteral("Standard"), optPanel2);
    standardButton->setObjectName(QStringLiteral("standardButton"));
    standardButton->setAccessibleName(QStringLiteral("Standard"));
    setHint(standardButton, QStringLiteral("Udskift fontnavne med de oprindelige. Kan ikke fortrydes."));
    redigerButton = new QPushButton(QStringLiteral("Rediger"), optPanel2);
    redigerButton->setObjectName(QStringLiteral("redigerButton"));
    redigerButton->setAccessibleName(QStringLiteral("Rediger"));
    setHint(redigerButton, QStringLiteral("Indfør eller fjern fontnavne"));
    fontButtons->addWidget(standardButton);
    fontButtons->addWidget(redigerButton);
    editor->addLayout(fontButtons);
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
    maxOpKnap = new QToolButton(optPanel2);
    maxOpKnap->setObjectName(QStringLiteral("maxOpKnap"));
    maxOpKnap->setArrowType(Qt::UpArrow);
    maxOpKnap->setAccessibleName(QStringLiteral("Flere elementer"));
    setHint(maxOpKnap, QStringLiteral("Flere elementer"));
    maxNedKnap = new QToolButton(optPanel2);
    maxNedKnap->setObjectName(QStringLiteral("maxNedKnap"));
    maxNedKnap->setArrowType(Qt::DownArrow);
    maxNedKnap->setAccessibleName(QStringLiteral("Færre elementer"));
    setHint(maxNedKnap, QStringLiteral("Færre elementer"));
    maxRow->addWidget(maxOpKnap);
    maxRow->addWidget(maxNedKnap);
    editor->addLayout(maxRow);
    editor->addWidget(new QLabel(QStringLiteral("Speciallister"), optPanel2));
    row->addWidget(optPanel2);

    startProgTimer = new QTimer(this);
    startProgTimer->setObjectName(QStringLiteral("startProgTimer"));
    startProgTimer->setInterval(1000);
    connectHandlers();
}

void Toptform::connectHandlers()
{
    connect(designBox, &QComboBox::activated, this, &Toptform::designBoxChange);
    connect(hintBox, &TRadioGroup::clicked, this, &Toptform::bestemHints);
    connect(dokumentlinjeCheck, &QCheckBox::clicked, this, [this] { emit tabRowToggled(dokumentlinjeCheck->isChecked()); });
    connect(windowsCheck, &QCheckBox::clicked, this, [this] {
        if (windowsCheck->isChecked())
            hovedmenuCheck->setChecked(false);
    });
    connect(hovedmenuCheck, &QCheckBox::clicked, this, [this] {
        if (!hovedmenuCheck->isChecked())
            return;
        windowsCheck->setChecked(false);
        emit menuBarHidden();
    });
    connect(marginCheck, &QCheckBox::clicked, this, &Toptform::standardSizeChanged);
    connect(trayCheck, &QCheckBox::clicked, this, [this] { emit trayIconToggled(trayCheck->isChecked()); });
    connect(maxOpKnap, &QToolButton::clicked, this, &Toptform::maxOpKnapClick);
    connect(maxNedKnap, &QToolButton::clicked, this, &Toptform::maxNedKnapClick);
    connect(standardButton, &QPushButton::clicked, this, &Toptform::setStandardFonte);
    connect(redigerButton, &QPushButton::clicked, this, &Toptform::redigerButtonClick);
    connect(startupButton, &QPushButton::clicked, this, &Toptform::startupButtonClick);
    connect(startProgTimer, &QTimer::timeout, this, &Toptform::startProgTimerTimer);
}

void Toptform::FormCreate()
{
    fontBoxFilename = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("fontBox.txt"));
    if (Platform::fileExists(fontBoxFilename)) {
        const std::optional<QStringList> fonts = Platform::readLines(fontBoxFilename, &m_fontBoxEncoding);
        if (fonts && !fonts->isEmpty()) {
            fontnameBox->clear();
            fontnameBox->addItems(*fonts);
        } else {
            // New documents need a font to choose from.
            showInfo(QStringLiteral("Listen over fontnavne kunne ikke læses eller er tom:\r") + fontBoxFilename
                     + QStringLiteral("\rStandardlisten bruges."));
        }
    }
    lagerBoxFilename = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("lagerBox.txt"));
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("optUnit.txt"));
    HentOpt();
    QString error;
    if (!Platform::applyDesign(designName, &error))
        showInfo(error);
    designBox->addItems(Platform::designNames());
    designBox->setCurrentIndex(designBox->findText(designName));
    designBox->setMaxVisibleItems(qMax(1, designBox->count()));
    maxFindEdit->setText(QString::number(maxElementer));
    bestemHints();
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

void Toptform::showProgramSizeCommand(QAction *command)
{
    m_programColumn->insertWidget(m_programSizePlace, actionPushButton(optPanel1, command), 0, Qt::AlignLeft);
}

void Toptform::bestemHints()
{
    // Only "Vis hints ved de enkelte elementer" shows tooltips; the other two send the hints to
    // the status line, where HintInfo writes them only for the first choice.
    const bool atControls = hintBox->itemIndex() == 1;
    emit hintPlaceChosen(atControls);
}

void Toptform::designBoxChange()
{
    emit designChosen();
    designName = designBox->currentText();
    if (!Platform::applyDesign(designName))
        showInfo(QStringLiteral("Information:\rDer opstod en fejl i designskift."));
}

void Toptform::saveList(const QString &path, const QStringList &names, Platform::TextEncoding readWith)
{
    const bool marked = readWith == Platform::TextEncoding::Utf8Bom || readWith == Platform::TextEncoding::Utf16LE
        || readWith == Platform::TextEncoding::Utf16BE;
    writeUserFile(path, names, marked ? readWith : Platform::TextEncoding::Ansi);
}

void Toptform::chooseFont(const QString &name)
{
    const int index = fontnameBox->findText(name);
    fontnameBox->setCurrentIndex(index >= 0 ? index : 0);
    fontnameBox->setMaxVisibleItems(qMax(1, fontnameBox->count()));
}

void Toptform::setStandardFonte()
{
    boksform->lagerBox->clear();
    saveList(lagerBoxFilename, {}, m_lagerBoxEncoding);
    const QString chosen = fontnameBox->currentText();
    fontnameBox->clear();
    fontnameBox->addItems(standardFonts);
    chooseFont(chosen);
    saveList(fontBoxFilename, standardFonts, m_fontBoxEncoding);
}

void Toptform::redigerButtonClick()
{
    const QString chosen = fontnameBox->currentText();
    boksform->Box->clear();
    for (int i = 0; i < fontnameBox->count(); ++i)
        boksform->Box->addItem(fontnameBox->itemText(i));
    if (Platform::fileExists(lagerBoxFilename)) {
        boksform->lagerBox->clear();
        boksform->lagerBox->addItems(Platform::readLines(lagerBoxFilename, &m_lagerBoxEncoding).value_or(QStringList()));
    }
    boksform->updateCounter();
    if (Platform::showModal(*boksform) != QDialog::Accepted)
        return;
    QStringList fonts;
    for (int i = 0; i < boksform->Box->count(); ++i)
        fonts << boksform->Box->item(i)->text();
    QStringList store;
    for (int i = 0; i < boksform->lagerBox->count(); ++i)
        store << boksform->lagerBox->item(i)->text();
    fontnameBox->clear();
    fontnameBox->addItems(fonts);
    saveList(fontBoxFilename, fonts, m_fontBoxEncoding);
    saveList(lagerBoxFilename, store, m_lagerBoxEncoding);
    chooseFont(chosen);
}

void Toptform::maxOpKnapClick()
{
    maxElementer += 10;
    maxFindEdit->setText(QString::number(maxElementer));
}

void Toptform::maxNedKnapClick()
{
    maxElementer = qMax(10, maxElementer - 10);
    maxFindEdit->setText(QString::number(maxElementer));
}

void Toptform::startupButtonClick()
{
    showInfo(QStringLiteral("Det kan tage lidt tid.\rTryk OK-Knappen for at starte funktionen.\r"
                            "Der bringes en information, når funktionen er gennemført."));
    makeOpstartProg();
}

void Toptform::makeOpstartProg()
{
    const QString scriptFolder = Platform::programFolder() + QStringLiteral("scripts") + QDir::separator();
    const QString program = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    if (!Platform::fileExists(program)) {
        showInfo(QStringLiteral("Genvejens mål blev ikke fundet."));
        return;
    }
    QString shortcut;
    if (Platform::folderExists(Platform::settingsFolder())) {
        shortcut = Platform::joinPath(Platform::settingsFolder(), Platform::shortcutFileName());
        OpenFilMedParametre(scriptFolder + Platform::shortcutScriptName(),
                            QLatin1Char('"') + program + QStringLiteral("\" \"") + shortcut + QLatin1Char('"'));
    }
    SPtimerFilename = shortcut;
    SPtimerCount = 0;
    startProgTimer->start();
}

void Toptform::OpenFilMedParametre(const QString &file, const QString &parameters)
{
    if (!Platform::fileExists(file)) {
        showInfo(QStringLiteral("Der synes at mangle en fil til skabelse af en genvej."));
        return;
    }
    const QFileInfo info(file);
    const int result = Platform::shell().execute(QStringLiteral("open"), info.fileName(), parameters,
                                                 QDir::toNativeSeparators(info.absolutePath()) + QDir::separator());
    if (result <= 32)
        TFunktioner::ErrorInfo(result);
}

void Toptform::startProgTimerTimer()
{
    ++SPtimerCount;
    const QString failure = QStringLiteral("Det lykkedes ikke at indføre programmet som startprogram.");
    if (!Platform::fileExists(SPtimerFilename)) {
        if (SPtimerCount >= 10) {
            startProgTimer->stop();
            SPtimerCount = 0;
            showInfo(failure);
        }
        return;
    }
    // The timer stops before any message, so that a tick never overlaps the next.
    startProgTimer->stop();
    SPtimerCount = 0;
    const QString startup = Platform::startupFolder(Platform::userName());
    if (!Platform::provideStartupFolder(startup)) {
        showInfo(QStringLiteral("Startup-mappen kunne ikke findes.\r"));
        return;
    }
    const QString target = Platform::joinPath(QDir::toNativeSeparators(startup), QFileInfo(SPtimerFilename).fileName());
    if (QFileInfo::exists(target)) {
        if (QFile::remove(target))
            showInfo(QStringLiteral("Programmet blev fjernet som StartUp-program."));
        else
            showInfo(failure);
    } else if (QFile::copy(SPtimerFilename, target)) {
        showInfo(QStringLiteral("Programmet er indført som StartUp-program."));
    } else {
        showInfo(failure);
    }
}
