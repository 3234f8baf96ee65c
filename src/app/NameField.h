#pragma once

#include <QLineEdit>
#include <QString>

// Shows a name in a read-only field from its start. Qt puts the caret, and with it the view, at
// the end of any text it is given, even the one the field already holds; only a changed text
// tells the field to go back to the start.
inline void showName(QLineEdit *field, const QString &name)
{
    if (field->text() != name)
        field->setText(name);
    field->setCursorPosition(0);
}
