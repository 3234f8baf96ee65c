#pragma once

#include "platform/RichEdit.h"

#include <QPointer>

// Writes dates, the time and the holiday list into the active document's text area.
class TDatoer {
public:
    // The text area that date texts go into; nullptr when no document takes them.
    void SetEditor(Platform::RichEdit *editor) { m_editor = editor; }
    Platform::RichEdit *editor() const { return m_editor; }

private:
    QPointer<Platform::RichEdit> m_editor;
};
