#include "opening/Funktioner.h"

#include "opening/DocumentHost.h"
#include "opening/FileType.h"
#include "platform/DataFolders.h"
#include "platform/LineFile.h"
#include "platform/Shell.h"
#include "platform/SystemMemory.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

char16_t lowerAZ(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

QString lowerAZ(const QString &text)
{
    QString lower = text;
    for (QChar &c : lower)
        c = QChar(lowerAZ(c.unicode()));
    return lower;
}

bool sameTextAZ(const QString &a, const QString &b)
{
    return a.size() == b.size() && lowerAZ(a) == lowerAZ(b);
}

bool containsAZ(QStringView text, QStringView word)
{
    for (qsizetype at = 0; at + word.size() <= text.size(); ++at) {
        qsizetype i = 0;
        while (i < word.size() && lowerAZ(text[at + i].unicode()) == word[i].unicode())
            ++i;
        if (i == word.size())
            return true;
    }
    return false;
}

namespace {

const QStringList programsAndMedia{
    QStringLiteral(".exe"), QStringLiteral(".mp3"), QStringLiteral(".mp4"), QStringLiteral(".m4v"),
    QStringLiteral(".avi"), QStringLiteral(".mov"), QStringLiteral(".wmv"), QStringLiteral(".mpg"),
    QStringLiteral(".ts"),  QStringLiteral(".m4a"), QStringLiteral(".wpl"), QStringLiteral(".pdf")};
const QStringList picturesAndOffice{
    QStringLiteral(".bmp"), QStringLiteral(".jpg"), QStringLiteral(".ico"),  QStringLiteral(".gif"),
    QStringLiteral(".png"), QStringLiteral(".jpeg"), QStringLiteral(".tif"), QStringLiteral(".tiff"),
    QStringLiteral(".emf"), QStringLiteral(".wmf"), QStringLiteral(".mdb"),  QStringLiteral(".pub")};
const QStringList ignored{QStringLiteral(".dfs"), QStringLiteral(".opt"), QStringLiteral(".opx"),
                          QStringLiteral(".dll"), QStringLiteral(".ocx"), QStringLiteral(".url")};

QString withTrailingSeparator(const QString &folder)
{
    return folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
}

} // namespace

namespace {
TFunktioner *theDispatch = nullptr;
}

TFunktioner *openDispatch()
{
    return theDispatch;
}

TFunktioner::TFunktioner(DocumentHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
    loadFiletypeListe();
    theDispatch = this;
}

TFunktioner::~TFunktioner()
{
    if (theDispatch == this)
        theDispatch = nullptr;
}

void TFunktioner::loadFiletypeListe()
{
    m_filtypeListe = {QStringLiteral(".txt"), QStringLiteral(".rtf"), QStringLiteral(".html"),
                      QStringLiteral(".asp"), QStringLiteral(".inc"), QStringLiteral(".asa"),
                      QStringLiteral(".css"), QStringLiteral(".js"),  QStringLiteral(".vbs"),
                      QStringLiteral(".wsf"), QStringLiteral(".bat"), QStringLiteral(".ps1")};
}

QString TFunktioner::fileExtension(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

void TFunktioner::openwin(const QString &fName, const QString &fExt)
{
    m_host.docFilnavn = fName;
    ++m_host.newCount;
    const bool exists = Platform::fileExists(fName);
    m_host.docExt = lowerAZ(exists ? fileExtension(fName) : fExt);
    const QString &ext = m_host.docExt;
    const bool rich = sameTextAZ(ext, QStringLiteral(".rtf"));

    if (fName.isEmpty()) {
        m_host.createDocumentWindow(rich);
        return;
    }
    if (!KontrolEXT(ext)) {
        if (programsAndMedia.contains(ext) || picturesAndOffice.contains(ext)) {
            shellOnFile(QStringLiteral("open"), fName);
            return;
        }
        if (ignored.contains(ext))
            return;
    }
    if (m_host.bringOpenDocumentToFront(fName, rich))
        return;
    if (!exists)
        return;
    if (!fitsInMemory(fName)) {
        showInfo(QStringLiteral("Dokumentet er for stort til at blive åbnet: ") + fName + QStringLiteral(" (")
                 + getFileSizeString(fName) + QLatin1Char(')'));
        return;
    }
    if (!extKontrol(fName)) {
        const QString question = QStringLiteral("Filtype: ") + ext + QStringLiteral("\r\r")
            + QStringLiteral("Filtypen er ikke indført eller afkrydset i listen over tekstfiler, der kan åbnes til redigering. ")
            + QStringLiteral("\r\r") + QStringLiteral("Filtypen kan indføres i Filtypeboksen, så der ikke spørges en anden gang.")
            + QStringLiteral("\r\r") + QStringLiteral("Skal den åbnes til redigering?");
        if (!ask(question))
            return;
    }
    // Saving a program or picture as text would change bytes of it; the user decides knowingly.
    if (!rich && Platform::fileLooksBinary(fName)
        && !ask(QStringLiteral("Filen\r") + fName
                + QStringLiteral("\rser ud til at være en binær fil og kan blive ødelagt, hvis den gemmes.\r"
                                 "Skal den åbnes alligevel?")))
        return;
    m_host.createDocumentWindow(rich);
}

bool TFunktioner::fitsInMemory(const QString &aFilename)
{
    // The bytes read, the decoded text and the editor's own copy with its layout take about four
    // times the file's size; a document that would not fit is refused before any of it is read,
    // rather than ending the program half way.
    const std::optional<qint64> available = Platform::availableMemory();
    return !available || QFileInfo(aFilename).size() <= *available / 4;
}

bool TFunktioner::KontrolEXT(const QString &aExt) const
{
    for (const QString &known : m_filtypeListe)
        if (sameTextAZ(known, aExt))
            return true;
    return false;
}

bool TFunktioner::extKontrol(const QString &aFilename) const
{
    if (!Platform::fileExists(aFilename)) {
        showInfo(QStringLiteral("Filen:\r") + aFilename + QLatin1Char('\r') + QStringLiteral("blev ikke fundet."));
        return false;
    }
    const QString pattern = QLatin1Char('*') + fileExtension(aFilename);
    if (m_host.extListe.isEmpty())
        return true;
    std::optional<FileType> unfinished;
    for (const FileType &type : readFileTypes(m_host.extListe, &unfinished))
        if (type.offered && sameTextAZ(type.mask, pattern))
            return true;
    // A list that breaks off after the type's mask, before its mark, is taken to offer it.
    return unfinished && sameTextAZ(unfinished->mask, pattern);
}

int TFunktioner::shellOnFile(const QString &operation, const QString &fileName)
{
    const QFileInfo info(fileName);
    return Platform::shell().execute(operation, info.fileName(), QString(),
                                     withTrailingSeparator(QDir::toNativeSeparators(info.absolutePath())));
}

void TFunktioner::runFilname(const QString &aFilename, int fileRunNumber) const
{
    if (!Platform::fileExists(aFilename))
        return;
    int result;
    if (sameTextAZ(fileExtension(aFilename), QStringLiteral(".bat")) && fileRunNumber == 0) {
        // The command interpreter starts in the batch file's own folder, where it finds the file by
        // its bare name; the program's own working folder stays the one it was started in.
        const QFileInfo batch(aFilename);
        result = Platform::shell().execute(QStringLiteral("open"), QStringLiteral("cmd"),
                                           QStringLiteral("/K ") + batch.fileName(),
                                           withTrailingSeparator(QDir::toNativeSeparators(batch.absolutePath())));
    } else {
        result = shellOnFile(fileRunNumber == 0 ? QStringLiteral("open") : QStringLiteral("edit"), aFilename);
    }
    if (result <= 32)
        ErrorInfo(result);
}

void TFunktioner::OpenFilen(const QString &aFilnavn, bool forRedigering) const
{
    const int result = shellOnFile(forRedigering ? QStringLiteral("edit") : QStringLiteral("open"), aFilnavn);
    if (result <= 32)
        ErrorInfo(result);
}

QString TFunktioner::ErrorText(int Nr)
{
    switch (Nr) {
    case 0: return QStringLiteral("Operationssystemet er løbet tør for hukommelse eller resourcer.");
    case 2: return QStringLiteral("Den specificerede fil blev ikke fundet.");
    case 3: return QStringLiteral("Stien blev ikke fundet.");
    case 5: return QStringLiteral("Operationssystemet forbød adgang til filen.");
    case 8: return QStringLiteral("Der var ikke hukommelse nok til at fuldføre operationen.");
    case 11: return QStringLiteral("Invalid exe fil (non-Microsoft Win32 .exe eller fejl i .exe image).");
    case 26: return QStringLiteral("Der opstod en \"sharing violation\".");
    case 27: return QStringLiteral("Filnavnsassociatonen er ukomplet eller invalid");
    case 28: return QStringLiteral("\"DDE transaction\" kunne ikke udføres fordi \"the request timed out\".");
    case 29: return QStringLiteral("\"DDE transaction\" mislykkedes.");
    case 30:
        return QStringLiteral("Den \"Dynamic Data Exchange (DDE) transaction\" kunne ikke fuldføres\r"
                              "fordi andre \"DDE transactions\" skulle udføres.");
    case 31:
        return QStringLiteral("Der er ikke associeret noget program til givne filefternavn.\r"
                              "Der er muligvist valgt: For redigering.\rDer skal muligvist vælges: For kørsel.");
    case 32: return QStringLiteral("Det specificerede \"dynamic-link library (DLL)\" blev ikke fundet.");
    default: return QStringLiteral("Meningsløs operation eller ukendt fejl.");
    }
}

void TFunktioner::ErrorInfo(int Nr)
{
    showInfo(QStringLiteral("Fejlinformation:\r") + ErrorText(Nr));
}

QString TFunktioner::getFileSizeString(const QString &aFilename)
{
    if (!Platform::fileExists(aFilename))
        return {};
    return getFileSizeString(QFileInfo(aFilename).size());
}

QString TFunktioner::getFileSizeString(qint64 size)
{
    // The unit follows the number of digits, not the value: 1000 bytes are already 0,98 KB.
    const int digits = int(QString::number(size).size());
    struct Unit {
        int minDigits;
        double divisor;
        const char *name;
    };
    static const Unit units[] = {{13, 1099511627776.0, " TB"},
                                 {10, 1073741824.0, " GB"},
                                 {7, 1048576.0, " MB"},
                                 {4, 1024.0, " KB"}};
    for (const Unit &unit : units)
        if (digits >= unit.minDigits)
            return QLocale().toString(double(size) / unit.divisor, 'f', 2) + QLatin1String(unit.name);
    return QString::number(size) + QStringLiteral(" bytes");
}
