#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class DocumentHost;

// The one place that decides what happens to a file name the user wants to open: edit it as
// text or rich text, hand it to the desktop shell, or ignore it. Also the shell's error texts
// and file-size texts.
class TFunktioner : public QObject {
    Q_OBJECT
public:
    // Opens documents in host's windows. There is one at a time, reached through openDispatch().
    TFunktioner(DocumentHost &host, QObject *parent = nullptr);
    ~TFunktioner() override;

    DocumentHost &host() const { return m_host; }

    // fName empty: a new document whose kind fExt (".txt" or ".rtf") gives.
    void openwin(const QString &fName, const QString &fExt);
    bool KontrolEXT(const QString &aExt) const;
    bool extKontrol(const QString &aFilename) const;
    // fileRunNumber 0 runs the file, any other value edits it.
    void runFilname(const QString &aFilename, int fileRunNumber) const;
    void OpenFilen(const QString &aFilnavn, bool forRedigering) const;
    static void ErrorInfo(int Nr);
    static QString ErrorText(int Nr);
    static QString getFileSizeString(const QString &aFilename);
    static QString getFileSizeString(qint64 size);
    // The part of the last path component from its last dot on, dot included.
    static QString fileExtension(const QString &fileName);

    const QStringList &filtypeListe() const { return m_filtypeListe; }

private:
    void loadFiletypeListe();
    // Whether the system has the memory that opening the file as a document needs.
    static bool fitsInMemory(const QString &aFilename);
    static int shellOnFile(const QString &operation, const QString &fileName);

    DocumentHost &m_host;
    QStringList m_filtypeListe;
};

// The program's open dispatch; nullptr outside a run.
TFunktioner *openDispatch();

// Equal with the letter case of A to Z ignored and every other character compared exactly, the
// rule for file names, extensions, captions and tab texts.
bool sameTextAZ(const QString &a, const QString &b);
QString lowerAZ(const QString &text);
// Whether text holds word, which is in lower case already, by the same rule; no copy is made.
bool containsAZ(QStringView text, QStringView word);
