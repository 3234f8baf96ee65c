#include "widgets/Box.h"

TBox::TBox(QWidget *parent, const QString &caption)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setAccessibleName(caption);
}

void TBox::closeBox()
{
    if (isVisible())
        close();
    else
        FormClose();
}

void TBox::done(int result)
{
    FormClose();
    QDialog::done(result);
}
