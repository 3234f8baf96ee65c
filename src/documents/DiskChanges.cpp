#include "documents/DiskChanges.h"

#include "platform/RecoveryStore.h"
#include "platform/RichEdit.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

DiskChange diskChange(const Platform::FileStamp &read, const Platform::FileStamp &answered,
                      const Platform::FileStamp &now, bool modified)
{
    if (now == read || now == answered)
        return DiskChange::None;
    if (!now.exists)
        return DiskChange::TellGone;
    return modified ? DiskChange::AskReloadLosingChanges : DiskChange::AskReload;
}

namespace {
constexpr int retryMilliseconds = 250;
// One question about changed files at a time, whichever document it is about.
bool asking = false;
} // namespace

DiskChanges::DiskChanges(Platform::RichEdit &editor, QObject *parent)
    : QObject(parent)
    , m_editor(editor)
    , m_watch(new Platform::FileWatch(this))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(retryMilliseconds);
    connect(&m_retry, &QTimer::timeout, this, &DiskChanges::check);
    connect(m_watch, &Platform::FileWatch::mayHaveChanged, this, &DiskChanges::check);
}

void DiskChanges::track(const QString &path)
{
    m_watch->setPath(path);
    m_read = Platform::FileStamp::of(path);
    m_answered = m_read;
}

void DiskChanges::trackRestored(const QString &path, const Platform::RecoveryEntry &copy)
{
    track(path);
    if (copy.read)
        m_read = *copy.read;
    else if (m_read.modifiedNs > copy.time.toMSecsSinceEpoch() * 1000000)
        m_read = Platform::FileStamp();
    m_answered = m_read;
}

bool DiskChanges::changedSinceRead() const
{
    return Platform::FileStamp::of(m_watch->path()) != m_read;
}

void DiskChanges::checkSoon()
{
    if (!m_watch->path().isEmpty())
        m_retry.start(0);
}

void DiskChanges::check()
{
    if (m_watch->path().isEmpty())
        return;
    // A document still loading is compared with its file once it is all in.
    if (asking || m_editor.isLoading() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        m_retry.start(retryMilliseconds);
        return;
    }
    const Platform::FileStamp now = Platform::FileStamp::of(m_watch->path());
    const DiskChange change = diskChange(m_read, m_answered, now, m_editor.isModified());
    if (change == DiskChange::None)
        return;
    m_answered = now;
    const QString path = m_watch->path();
    asking = true;
    if (change == DiskChange::TellGone) {
        m_editor.setModified(true);
        emit documentChanged();
        showInfo(QStringLiteral("Filen\r") + path + QStringLiteral("\rfindes ikke længere på disken."));
    } else {
        QString question = QStringLiteral("Filen\r") + path
                           + QStringLiteral("\rer ændret af et andet program.\rSkal den hentes igen?");
        if (change == DiskChange::AskReloadLosingChanges)
            question += QStringLiteral("\rDine ændringer går tabt, hvis den hentes igen.");
        if (ask(question)) {
            reload();
        } else if (const Platform::FileStamp answered = Platform::FileStamp::of(path); answered.exists) {
            // The answer is about the file as it is when the user gives it: another program that
            // was still writing it when the question came (it had emptied the file, say, and not
            // yet written it) has finished meanwhile, and that is the same change, not a new one.
            // A file gone meanwhile is still told.
            m_answered = answered;
        }
    }
    asking = false;
    // The file may have changed again while the user read the question.
    checkSoon();
}

void DiskChanges::reload()
{
    const QTextCursor before = m_editor.textCursor();
    const int line = before.blockNumber();
    const int column = before.positionInBlock();
    const int scrolled = m_editor.widget()->verticalScrollBar()->value();
    const Platform::FileStamp stamp = Platform::FileStamp::of(m_watch->path());
    QString error;
    if (!m_editor.startLoading(m_watch->path(), &error)) {
        showInfo(QStringLiteral("Dokumentet kunne ikke åbnes:\r") + m_watch->path() + QLatin1Char('\r') + error);
        return;
    }
    const auto reloaded = [this, line, column, scrolled, stamp] {
        m_read = stamp;
        m_answered = stamp;
        // The caret stays on its line and column, or as near as the new text allows.
        const QTextDocument *document = m_editor.document();
        const QTextBlock block = document->findBlockByNumber(qMin(line, document->blockCount() - 1));
        QTextCursor after(block);
        after.setPosition(block.position() + qMin(column, block.length() - 1));
        m_editor.setTextCursor(after);
        m_editor.widget()->verticalScrollBar()->setValue(scrolled);
        emit documentChanged();
    };
    if (!m_editor.isLoading()) {
        reloaded();
        return;
    }
    // A big file goes in a slice at a time while the window stays responsive: the caret finds its
    // place once the text is all in.
    connect(&m_editor, &Platform::RichEdit::loaded, this, reloaded, Qt::SingleShotConnection);
    emit documentChanged();
}
