#pragma once

#include "widgets/Box.h"

class QPlainTextEdit;

// A hidden scratch pad: the text document window pastes the clipboard into Memo and copies it
// back, which leaves only plain text on the clipboard. Never shown.
class TmemoForm : public TBox {
    Q_OBJECT
public:
    explicit TmemoForm(QWidget *parent = nullptr);

    QPlainTextEdit *const Memo;
};
