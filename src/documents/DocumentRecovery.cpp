#include "documents/DocumentRecovery.h"

#include "documents/DocumentForm.h"
#include "opening/DocumentHost.h"
#include "opening/Funktioner.h"
#include "platform/Clock.h"
#include "platform/DataFolders.h"
#include "platform/RecoveryStore.h"
#include "platform/RichEdit.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QTextDocument>

namespace {

Platform::RecoveryStore *store = nullptr;
std::chrono::milliseconds pauseDelay{3000};
std::chrono::milliseconds longestDelay{30000};

QString recoveryFolder()
{
    return Platform::joinPath(Platform::settingsFolder(), QStringLiteral("Gendannelse"));
}

// Opens the copy in a window of its kind, as the open dispatch would open its file.
void restore(DocumentHost &host, const Platform::RecoveredCopy &copy)
{
    const Platform::RecoveryEntry &entry = copy.entry;
    host.docFilnavn = entry.fileName;
    host.docExt = entry.fileName.isEmpty() ? (entry.rich ? QStringLiteral(".rtf") : QStringLiteral(".txt"))
                                           : lowerAZ(TFunktioner::fileExtension(entry.fileName));
    ++host.newCount;
    // New documents made from now on count on from the restored ones, so that no two captions
    // are the same.
    bool numbered = false;
    const int number = entry.caption.section(QLatin1Char('.'), 0, 0).toInt(&numbered);
    if (entry.fileName.isEmpty() && numbered)
        host.newCount = qMax(host.newCount, number);
    host.docRecovered = &copy;
    host.createDocumentWindow(entry.rich);
    host.docRecovered = nullptr;
}

} // namespace

void startRecovery()
{
    store = new Platform::RecoveryStore(recoveryFolder());
}

void endRecovery()
{
    delete store;
    store = nullptr;
}

void offerRecovery(DocumentHost &host)
{
    Platform::RecoveryLeftovers leftovers(recoveryFolder());
    if (leftovers.isEmpty()) {
        // Runs that ended with nothing unsaved leave only their folders.
        leftovers.discard();
        return;
    }
    switch (askOrCancel(
        QStringLiteral("kyxTavlo blev ikke lukket normalt.\rSkal de dokumenter, der ikke var gemt, gendannes?"))) {
    case Answer::Yes:
        break;
    case Answer::No:
        leftovers.discard();
        return;
    case Answer::Cancel:
        return;
    }
    for (const Platform::RecoveredCopy &copy : leftovers.copies())
        restore(host, copy);
    if (!leftovers.broken().isEmpty()) {
        QString text = QStringLiteral("Disse gendannelseskopier kunne ikke læses og er sprunget over:");
        for (const Platform::BrokenCopy &broken : leftovers.broken())
            text += QLatin1Char('\r') + broken.indexFile + QStringLiteral(": ") + broken.reason;
        showInfo(text);
    }
    // The restored documents have taken their copies along; what is left goes.
    leftovers.discard();
}

void TRecoveryCopy::setDelays(std::chrono::milliseconds pause, std::chrono::milliseconds longest)
{
    pauseDelay = pause;
    longestDelay = longest;
}

TRecoveryCopy::TRecoveryCopy(TDocumentForm &window, const Platform::RecoveredCopy *recovered)
    : QObject(&window)
    , m_window(window)
    , m_copy(store->newCopy())
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseDelay);
    m_longest.setSingleShot(true);
    m_longest.setInterval(longestDelay);
    connect(&m_pause, &QTimer::timeout, this, &TRecoveryCopy::write);
    connect(&m_longest, &QTimer::timeout, this, &TRecoveryCopy::write);
    Platform::RichEdit *editor = window.editor();
    connect(editor, &Platform::RichEdit::textChanged, this, &TRecoveryCopy::changed);
    connect(editor->document(), &QTextDocument::modificationChanged, this, &TRecoveryCopy::modificationChanged);
    connect(store, &Platform::RecoveryStore::writeFailed, this, &TRecoveryCopy::writeFailed);
    connect(&window, &TDocumentForm::closing, this, &TRecoveryCopy::windowClosing);
    connect(&window, &TDocumentForm::loaded, this, &TRecoveryCopy::loaded);
    // A restored document keeps the copy it came from; should that fail, it is written anew.
    if (recovered && !store->adopt(m_copy, *recovered))
        write();
}

void TRecoveryCopy::changed()
{
    if (m_closing || !m_window.editor()->isModified())
        return;
    m_pause.start();
    if (!m_longest.isActive())
        m_longest.start();
}

void TRecoveryCopy::modificationChanged(bool modified)
{
    // While a big file goes in, the document's flag goes on and off with each slice: how the
    // document stands is known once the text is all in.
    if (m_window.isLoading())
        return;
    if (modified) {
        changed();
        return;
    }
    m_pause.stop();
    m_longest.stop();
    store->remove(m_copy);
}

void TRecoveryCopy::loaded()
{
    // A file read again holds no unsaved text; a restored one has its copy already.
    if (!m_window.editor()->isModified())
        modificationChanged(false);
}

void TRecoveryCopy::write()
{
    m_pause.stop();
    m_longest.stop();
    if (m_closing || !m_window.editor()->isModified())
        return;
    // Half a text is no copy of it; it is taken after the next pause instead.
    if (m_window.isLoading()) {
        m_pause.start();
        return;
    }
    m_window.editor()->takeSnapshot([this](Platform::RecoverySnapshot snapshot) {
        // Saved, closed or read again while a large text was being taken: nothing is left to
        // keep.
        if (m_closing || !m_window.editor()->isModified() || m_window.isLoading())
            return;
        snapshot.entry.fileName = m_window.Filnavn;
        snapshot.entry.caption = m_window.capNavn;
        snapshot.entry.read = m_window.readStamp();
        snapshot.entry.time = Platform::now().toUTC();
        store->write(m_copy, std::move(snapshot));
    });
}

void TRecoveryCopy::writeFailed(int copy, const QString &reason)
{
    if (copy != m_copy || m_failureTold)
        return;
    m_failureTold = true;
    showInfo(QStringLiteral("Gendannelseskopien kunne ikke skrives:\r") + reason);
}

void TRecoveryCopy::windowClosing()
{
    // Whatever the user answered about saving, the window's text goes with it.
    m_closing = true;
    m_pause.stop();
    m_longest.stop();
    store->remove(m_copy);
}
