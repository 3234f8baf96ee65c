#include "app/Box.h"

TBox::TBox(QWidget *parent, const QString &caption)
    : QDialog(parent)
{
    setWindowTitle(caption);
    setAccessibleName(caption);
}
