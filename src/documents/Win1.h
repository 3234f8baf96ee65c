#pragma once

#include "documents/DocumentForm.h"

class QCheckBox;

// The window of one plain-text document.
class Twinform1 : public TDokumentform {
    Q_OBJECT
public:
    Twinform1();

    QCheckBox *wordwrapCheck = nullptr;
    TAction *pasteFromInfo = nullptr;

    void wordwrapCheckClick();

protected:
    void aStavekontrolExecute() override;

private:
    void pasteFromInfoExecute();
};
