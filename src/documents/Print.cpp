#include "documents/Print.h"

#include "platform/Designs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString keep(const QString &text, bool comma)
{
    QString kept;
    for (const QChar c : text)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (comma && c == QLatin1Char(',')))
            kept += c;
    return kept;
}

// Puts the filtered text back, the caret behind its last character.
void filterField(QLineEdit *field, QString (*filter)(const QString &))
{
    QObject::connect(field, &QLineEdit::textChanged, field, [field, filter](const QString &text) {
        const QString filtered = filter(text);
        if (filtered != text) {
            field->setText(filtered);
            field->setCursorPosition(int(filtered.size()));
        }
    });
}

} // namespace

Tprintform::Tprintform(QWidget *parent)
    : TBox(parent, QStringLiteral("Udskriv dokument"))
{
    setObjectName(QStringLiteral("printform"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    auto *row = new QHBoxLayout(this);

    auto *margins = new QGroupBox(QStringLiteral("Margen i centimeter"), this);
    auto *marginGrid = new QGridLayout(margins);
    const auto field = [](QWidget *parent, QGridLayout *grid, int line, const char *name, const QString &caption) {
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(caption);
        edit->setMaximumWidth(70);
        grid->addWidget(new QLabel(caption, parent), line, 0);
        grid->addWidget(edit, line, 1);
        return edit;
    };
    Edit1 = field(margins, marginGrid, 0, "Edit1", QStringLiteral("Venstre"));
    Edit2 = field(margins, marginGrid, 1, "Edit2", QStringLiteral("Højre"));
    Edit3 = field(margins, marginGrid, 2, "Edit3", QStringLiteral("Top"));
    Edit4 = field(margins, marginGrid, 3, "Edit4", QStringLiteral("Bund"));
    for (QLineEdit *margin : {Edit1, Edit2, Edit3, Edit4})
        filterField(margin, &Floatkon);
    row->addWidget(margins);

    auto *actionGroup = new QGroupBox(QStringLiteral("Aktion"), this);
    auto *actionColumn = new QVBoxLayout(actionGroup);
    auto *copiesRow = new QGridLayout;
    auto *picture = new QLabel(actionGroup);
    picture->setPixmap(Platform::designIcon(QStringLiteral("document-print")).pixmap(32, 32));
    copiesRow->addWidget(picture, 0, 2, 1, 1, Qt::AlignRight);
    Edit5 = field(actionGroup, copiesRow, 0, "Edit5", QStringLiteral("Kopiantal"));
    filterField(Edit5, &IntegerKon);
    actionColumn->addLayout(copiesRow);
    standardButton = new QPushButton(QStringLiteral("Standard"), actionGroup);
    standardButton->setObjectName(QStringLiteral("standardButton"));
    connect(standardButton, &QPushButton::clicked, this, &Tprintform::StandardClick);
    annullerButton = new QPushButton(QStringLiteral("Annuller"), actionGroup);
    annullerButton->setObjectName(QStringLiteral("annullerButton"));
    connect(annullerButton, &QPushButton::clicked, this, &QDialog::reject);
    printButton = new QPushButton(QStringLiteral("Print    "), actionGroup);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setIcon(Platform::designIcon(QStringLiteral("document-print")));
    printButton->setDefault(true);
    connect(printButton, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *button : {standardButton, annullerButton, printButton})
        actionColumn->addWidget(button);
    row->addWidget(actionGroup);
    row->setSizeConstraint(QLayout::SetFixedSize);
    StandardClick();
}

QString Tprintform::Floatkon(const QString &text)
{
    return keep(text, true);
}

QString Tprintform::IntegerKon(const QString &text)
{
    return keep(text, false);
}

void Tprintform::StandardClick()
{
    Edit1->setText(QStringLiteral("2,5"));
    Edit2->setText(QStringLiteral("1"));
    Edit3->setText(QStringLiteral("2"));
    Edit4->setText(QStringLiteral("1,5"));
    Edit5->setText(QStringLiteral("1"));
}
