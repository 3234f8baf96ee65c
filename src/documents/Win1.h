#pragma once

#include "documents/DocumentForm.h"

class QCheckBox;
class QLabel;

// The window of one plain-text document.
class Twinform1 : public TDocumentForm {
    Q_OBJECT
public:
    Twinform1(const DocumentOpening &opening, const FrameCommands &commands);

    QComboBox *fontnameBox = nullptr;
    QCheckBox *wordwrapCheck = nullptr;
    QToolButton *funkButton1 = nullptr;
    QLabel *posLabel = nullptr;
    QLabel *antalLabel = nullptr;
    QMenu *PUwin = nullptr;
    TAction *pasteFromInfo = nullptr;

    void wordwrapCheckClick();

protected:
    void aStavekontrolExecute() override;
    void showCaretPosition() override;

private:
    void buildToolPanel(const FrameCommands &commands);
    void buildMenus(const FrameCommands &commands);
    void pasteFromInfoExecute();
};
