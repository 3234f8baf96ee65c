#include "widgets/infUnit.h"

#include "platform/Browser.h"
#include "platform/Modal.h"
#include "widgets/Globals.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>

Tinfform::Tinfform(QWidget *parent)
    : TMessageBox(parent, QStringLiteral("Information"))
    , Label1(m_text)
    , BitBtn1(addButton(QStringLiteral("OK"), QStringLiteral("dialog-ok")))
{
    Label1->setObjectName(QStringLiteral("Label1"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void showInfo(const QString &text)
{
    // Only possible before start-up has made the box; the message must not vanish without a trace.
    if (!infform) {
        qWarning("kyxTavlo: %s", qUtf8Printable(text));
        return;
    }
    infform->insertTekst(text);
    Platform::showModal(*infform);
}

void openInBrowser(const QUrl &address)
{
    if (!Platform::browser().open(address))
        showInfo(QStringLiteral("Der er ingen browser til at åbne adressen:\r") + address.toDisplayString());
}
