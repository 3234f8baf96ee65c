#include "lists/OpenUnit.h"

#include "platform/DataFolders.h"
#include "widgets/BoxSettings.h"
#include "widgets/Globals.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Topenform::Topenform(QWidget *parent)
    : TBox(parent, QStringLiteral("Åben"))
{
    setObjectName(QStringLiteral("openform"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *column = new QVBoxLayout(this);
    handlingsBox = new TRadioGroup(QStringLiteral("Handling"),
                                   {QStringLiteral("Åben til redigering"),
                                    QStringLiteral("Indsæt i listen med lukkede dokumenter"),
                                    QStringLiteral("Indsæt i favoritter")},
                                   this);
    handlingsBox->setObjectName(QStringLiteral("handlingsBox"));
    handlingsBox->setItemIndex(0);
    connect(handlingsBox, &TRadioGroup::clicked, this, &Topenform::handlingsBoxClick);
    column->addWidget(handlingsBox);

    auto *row = new QHBoxLayout;
    checkNyListe = new QCheckBox(QStringLiteral("Start med ny liste"), this);
    checkNyListe->setObjectName(QStringLiteral("checkNyListe"));
    row->addWidget(checkNyListe);
    row->addStretch();
    okButton = new QPushButton(QStringLiteral("Gennemfør"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    annullerButton = new QPushButton(QStringLiteral("Annuller"), this);
    annullerButton->setObjectName(QStringLiteral("annullerButton"));
    connect(annullerButton, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(okButton);
    row->addWidget(annullerButton);
    column->addLayout(row);
    // The outer size is fixed; the contents decide it, so the captions fit whatever the font.
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void Topenform::FormCreate()
{
    optFilnavn = Platform::joinPath(Platform::settingsFolder(), QStringLiteral("OpenUnit.txt"));
    HentOpt();
}

void Topenform::HentOpt()
{
    readSettings(optFilnavn, {2, true, true, SettingsRules::Fallback::DesignValues}, {},
                 [this](SettingsLines &lines) {
                     handlingsBox->setItemIndex(lines.integer());
                     checkNyListe->setChecked(lines.yesNo());
                 });
}

void Topenform::GemOpt()
{
    SettingsWriter().integer(handlingsBox->itemIndex()).yesNo(checkNyListe->isChecked()).write(optFilnavn);
}

void Topenform::showEvent(QShowEvent *event)
{
    handlingsBoxClick();
    TBox::showEvent(event);
}

void Topenform::handlingsBoxClick()
{
    checkNyListe->setEnabled(handlingsBox->itemIndex() != 0);
}
