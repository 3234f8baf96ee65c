#pragma once

#include "options/tekstBoks.h"

class QLabel;
class QPushButton;

// The question box: every yes-or-no question of the program is asked here.
class Tspform : public TtekstBoks {
    Q_OBJECT
public:
    explicit Tspform(QWidget *parent = nullptr);

    QLabel *const textLabel;
    QPushButton *const BitBtn1;        // "Ja", modal result 1
    QPushButton *const annullerButton; // "Nej", the cancel result

protected:
    // Every question starts on "Ja": a "Nej" pressed for the last question must not become the
    // answer Enter gives to the next one.
    void showEvent(QShowEvent *event) override;
};

// Asks the question in the question box; true only when the user answered "Ja". "Nej", Escape
// and the window's close button all mean no.
bool spoerg(const QString &text);
