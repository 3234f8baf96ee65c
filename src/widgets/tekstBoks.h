#pragma once

#include "widgets/Box.h"

class QHBoxLayout;
class QLabel;
class QPushButton;

// The common body of the information and the question box: a word-wrapped message above a row of
// buttons, 339 wide and exactly as tall as the message needs. Neither box keeps anything between
// two showings: the caller sets the text right before showing, and hiding clears it.
class TMessageBox : public TBox {
    Q_OBJECT
public:
    // The label takes the text. A line break in a message is a single "\r".
    void insertTekst(const QString &text);
    // Empties the label and gives it its small resting font.
    void resetValues();

    // Showing and hiding run the box's show and close steps. They hang on setVisible rather than
    // on show/hide events so that the size is right before the dialog centres itself, and so that
    // minimising the main window does not wipe a message the user has not read yet.
    void setVisible(bool visible) override;

protected:
    TMessageBox(QWidget *parent, const QString &caption);
    // A button in the row under the text, with its caption as accessible name.
    QPushButton *addButton(const QString &caption, const QString &iconName);

    QLabel *const m_text;

private:
    void FormShow();
    void FormClose();

    QHBoxLayout *m_buttons;
};
