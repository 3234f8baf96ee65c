#include "widgets/spmUnit.h"

#include "platform/Modal.h"
#include "widgets/Globals.h"

#include <QLabel>
#include <QPushButton>

Tspform::Tspform(QWidget *parent)
    : TMessageBox(parent, QStringLiteral("Spørgsmål"))
    , textLabel(m_text)
    , BitBtn1(addButton(QStringLiteral("Ja"), QStringLiteral("dialog-ok-apply")))
    , annullerButton(addButton(QStringLiteral("Nej"), QStringLiteral("dialog-cancel")))
{
    textLabel->setObjectName(QStringLiteral("textLabel"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    annullerButton->setObjectName(QStringLiteral("annullerButton"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(annullerButton, &QPushButton::clicked, this, [this] { done(NoResult); });
}

void Tspform::showEvent(QShowEvent *event)
{
    TMessageBox::showEvent(event);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus(Qt::OtherFocusReason);
}

Answer askOrCancel(const QString &text)
{
    // Only possible before start-up has made the box; no answer is the safe answer.
    if (!spform) {
        qWarning("kyxTavlo: %s", qUtf8Printable(text));
        return Answer::Cancel;
    }
    spform->insertTekst(text);
    switch (Platform::showModal(*spform)) {
    case QDialog::Accepted:
        return Answer::Yes;
    case Tspform::NoResult:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool ask(const QString &text)
{
    return askOrCancel(text) == Answer::Yes;
}
