#include "documents/Win1.h"

#include "app/Action.h"
#include "app/Globals.h"
#include "options/memoUnit.h"
#include "platform/PlainEdit.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

Twinform1::Twinform1()
    : TDokumentform(new Platform::PlainEdit(nullptr))
{
    setObjectName(QStringLiteral("winform1"));
    wordwrapCheck = new QCheckBox(QStringLiteral("Tekstopbrydning"), redskabsPanel);
    wordwrapCheck->setObjectName(QStringLiteral("wordwrapCheck"));
    wordwrapCheck->setChecked(true);
    fontBlock->addWidget(wordwrapCheck);
    connect(wordwrapCheck, &QCheckBox::clicked, this, &Twinform1::wordwrapCheckClick);
    Editor->setWordWrap(true);

    pasteFromInfo = new TAction(this, QStringLiteral("pasteFromInfo"), QStringLiteral("Indsæt"),
                                QStringLiteral("Indsætter tekst, der er kopieret i en informationsfil eller hjemmesidefil: Ctrl+W"),
                                QKeySequence(QStringLiteral("Ctrl+W")), Qt::WidgetWithChildrenShortcut);
    pasteFromInfo->setUpdateRule([this] { return Editor->canPaste(); });
    connect(pasteFromInfo, &QAction::triggered, this, &Twinform1::pasteFromInfoExecute);
    addAction(pasteFromInfo);
    insertAfterPaste(pasteFromInfo);

    FormCreate();
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
