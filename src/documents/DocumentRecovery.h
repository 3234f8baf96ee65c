#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class DocumentHost;
class TDocumentForm;
namespace Platform {
struct RecoveredCopy;
}

// The program's recovery copies of unsaved text (see platform/RecoveryStore.h), in the folder
// "Gendannelse" below the user's settings folder. Started with the program, once its data folders
// are there; ended at a normal program end, which removes every copy of the run.
void startRecovery();
void endRecovery();

// At start-up: when runs of the program that did not end normally left unsaved documents, asks
// whether to bring them back. "Ja" opens each through host in a window of its kind, under its
// file name and caption, marked modified; "Nej" removes the copies; a question left without an
// answer leaves them for the next start.
void offerRecovery(DocumentHost &host);

// Keeps a recovery copy of one document window's unsaved text: written when typing has paused a
// few seconds, and at the latest half a minute after the first change not in a copy while the user
// keeps typing; removed when the text is saved (or undone to what was saved) and when the window
// closes. A copy that cannot be written is told once.
class TRecoveryCopy : public QObject {
    Q_OBJECT
public:
    // recovered: the copy the window's text was restored from, which becomes its copy.
    TRecoveryCopy(TDocumentForm &window, const Platform::RecoveredCopy *recovered);

    // The pause after typing, and the longest time a change waits for its copy.
    static void setDelays(std::chrono::milliseconds pause, std::chrono::milliseconds longest);

private:
    void changed();
    void modificationChanged(bool modified);
    void loaded();
    void write();
    void writeFailed(int copy, const QString &reason);
    void windowClosing();

    TDocumentForm &m_window;
    QTimer m_pause;
    QTimer m_longest;
    int m_copy;
    bool m_failureTold = false;
    bool m_closing = false;
};
