#include "options/memoUnit.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TmemoForm::TmemoForm(QWidget *parent)
    : TBox(parent, QStringLiteral("Memo"))
    , Memo(new QPlainTextEdit(this))
{
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setAccessibleName(QStringLiteral("Memo"));
    // Nobody sees the field, so long pasted lines need no wrapping work.
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Memo);
}
