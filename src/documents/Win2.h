#pragma once

#include "documents/DocumentForm.h"

#include <optional>

class QLabel;
class QStatusBar;
class TColorGrid;

namespace Platform {
class RichTextEdit;
}

// The window of one rich-text (RTF) document: the text window's twin with character and
// paragraph formatting.
class Twinform2 : public TDocumentForm {
    Q_OBJECT
public:
    Twinform2(const DocumentOpening &opening, const FrameCommands &commands);

    void FontFelter(const QString &FontNavn);
    void FontFelterSize(int FontDim);
    void SetSize(int Siz);
    void XYinfoRich();

    TColorGrid *ColorGrid = nullptr;
    QComboBox *FontNameBox = nullptr;
    QToolButton *Button1 = nullptr;
    QToolButton *modiButton = nullptr;
    QToolButton *ToolButton5 = nullptr;
    QWidget *rtfToolbar = nullptr;
    QStatusBar *Info = nullptr;
    QList<QLabel *> infoPanels;
    QList<QToolButton *> sizeButtons; // sb10, sb12, sb14, sb16, sb18, sb20, sb24, sb36
    QMenu *winPU = nullptr;
    QMenu *FontPU = nullptr;

    TAction *RichEditBold2 = nullptr;
    TAction *RichEditItalic2 = nullptr;
    TAction *RichEditUnderline2 = nullptr;
    TAction *RichEditBullets2 = nullptr;
    TAction *RichEditAlignLeft2 = nullptr;
    TAction *RichEditAlignCenter2 = nullptr;
    TAction *RichEditAlignRight2 = nullptr;
    TAction *aMargin = nullptr;
    TAction *EditModified = nullptr;

protected:
    void aStavekontrolExecute() override;
    void showCaretPosition() override;

private:
    void buildActions();
    void buildToolPanel(const FrameCommands &commands);
    void buildMenus(const FrameCommands &commands);
    void EditModifiedUpdate();
    Platform::RichTextEdit *rich() const;

    std::optional<bool> m_shownModified;
};
