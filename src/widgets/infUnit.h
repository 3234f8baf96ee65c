#pragma once

#include "widgets/tekstBoks.h"

class QLabel;
class QPushButton;
class QUrl;

// The information box: every message of the program is shown here, with an OK button.
class Tinfform : public TMessageBox {
    Q_OBJECT
public:
    explicit Tinfform(QWidget *parent = nullptr);

    QLabel *const Label1;
    QPushButton *const BitBtn1; // OK, modal result 1
};

// Shows the message in the information box and waits until the user has closed it.
void showInfo(const QString &text);

// Opens the address in the user's browser, or tells the user that there is none.
void openInBrowser(const QUrl &address);
