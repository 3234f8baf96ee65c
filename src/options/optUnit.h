#pragma once

#include "platform/TextCodec.h"
#include "widgets/Box.h"

class QAction;
class QCheckBox;
class QPushButton;
class QTimer;
class QVBoxLayout;
class QToolButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TRadioGroup;

// The program's options, kept as controls that the rest of the program reads directly. The box
// is never shown on its own: its three panels are shown on the main window's "Egenskaber" page.
// What an option changes in the main window, the box tells through its signals.
class Toptform : public TBox {
    Q_OBJECT
public:
    explicit Toptform(QWidget *parent);

    void FormCreate() override;
    // Offers the main window's command that gives it its standard size, beside the size shown.
    void showProgramSizeCommand(QAction *command);

    // Settings file "optUnit.txt".
    void HentOpt();
    void GemOpt();
    void defaultOpt();
    void setProgSize(int aW, int aH);
    void bestemHints();
    void designBoxChange();
    void setStandardFonte();
    void redigerButtonClick();
    void maxOpKnapClick();
    void maxNedKnapClick();
    // The start-up program: puts the program among those started at log-on, or takes it out.
    void startupButtonClick();
    void makeOpstartProg();
    void OpenFilMedParametre(const QString &file, const QString &parameters);
    void startProgTimerTimer();

    QString optFilnavn;
    QString fontBoxFilename;
    QString lagerBoxFilename;
    QString designName;
    int maxElementer = 0;
    QString SPtimerFilename;
    int SPtimerCount = 0;
    QTimer *startProgTimer = nullptr;

    QGroupBox *optPanel1 = nullptr;
    QGroupBox *optPanel2 = nullptr;
    QGroupBox *optPanel3 = nullptr;
    QComboBox *designBox = nullptr;
    QLabel *widthLabel = nullptr;
    QLabel *heightLabel = nullptr;
    TRadioGroup *hintBox = nullptr;
    QCheckBox *CheckAskOpenDoc = nullptr;
    QCheckBox *dokumentlinjeCheck = nullptr;
    QCheckBox *windowsCheck = nullptr;
    QCheckBox *hovedmenuCheck = nullptr;
    QCheckBox *dokumentCheck = nullptr;
    QCheckBox *bokseCheck1 = nullptr;
    QCheckBox *bokseCheck2 = nullptr;
    QCheckBox *bokseCheck3 = nullptr;
    QCheckBox *CheckVedLuk = nullptr;
    QCheckBox *trayCheck = nullptr;
    QCheckBox *minimerCheck = nullptr;
    QComboBox *fontnameBox = nullptr;
    QComboBox *fontsizeBox = nullptr;
    TRadioGroup *popupBox = nullptr;
    QCheckBox *redCheck = nullptr;
    QCheckBox *marginCheck = nullptr;
    QLineEdit *maxFindEdit = nullptr;
    QCheckBox *CheckInsertFirst = nullptr;
    QToolButton *maxOpKnap = nullptr;
    QToolButton *maxNedKnap = nullptr;
    QPushButton *standardButton = nullptr;
    QPushButton *redigerButton = nullptr;
    QPushButton *startupButton = nullptr;

    static const QStringList standardFonts;
    static const QStringList fontSizes;

signals:
    void tabRowToggled(bool shown);
    void menuBarHidden();
    // The margin option changes the main window's standard size.
    void standardSizeChanged();
    void trayIconToggled(bool wanted);
    // Hints go to each control as a tooltip, or to the status line.
    void hintPlaceChosen(bool atControls);
    void designChosen();

private:
    void buildPanels();
    QVBoxLayout *m_programColumn = nullptr;
    int m_programSizePlace = 0;
    void connectHandlers();
    void chooseFont(const QString &name);
    static void saveList(const QString &path, const QStringList &names, Platform::TextEncoding readWith);
    // The encodings the two font lists were read in: a list read with a byte-order mark is
    // written back with it.
    Platform::TextEncoding m_fontBoxEncoding = Platform::TextEncoding::Ansi;
    Platform::TextEncoding m_lagerBoxEncoding = Platform::TextEncoding::Ansi;
};
