#pragma once

// The About box: the program's title, version, maker, icon, description
// and disclaimer. The Help menu shows it; at start-up it is the splash
// shown while the lists are read.

#include <QDialog>

#include <memory>

class Form1;
class QLabel;
class QPushButton;

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // Filled at once from the program's icon (AboutIconPath()). An icon
    // that cannot be read is warned about, and the box opens without it.
    explicit frmAbout(QWidget *parent = nullptr);
    // The same with the icon read from iconPath.
    explicit frmAbout(const QString &iconPath, QWidget *parent = nullptr);

    // The splash: shown at once without its OK button, saying that the lists
    // are being read, with the hourglass over it. It goes when released.
    static std::unique_ptr<frmAbout> ShowSplash();

    // The program's icon file: the installed "Pelkar.ico", or where it
    // should be when it is missing.
    static QString AboutIconPath();

    // The warning for an icon that could not be read.
    static QString IconWarning(const QString &path, int errorNumber, const QString &description);

    QLabel *picIcon() const { return mIcon; }
    QLabel *lblTitle() const { return mTitle; }
    QLabel *lblVersion() const { return mVersion; }
    QLabel *lblAuthor() const { return mAuthor; }
    QLabel *lblDescription() const { return mDescription; }
    QLabel *lblDisclaimer() const { return mDisclaimer; }
    QPushButton *cmdOK() const { return mOk; }

public slots:
    void cmdOk_Click();

private:
    void Form_Load(const QString &iconPath);

    QLabel *mIcon = nullptr;
    QLabel *mTitle = nullptr;
    QLabel *mVersion = nullptr;
    QLabel *mAuthor = nullptr;
    QLabel *mDescription = nullptr;
    QLabel *mDisclaimer = nullptr;
    QPushButton *mOk = nullptr;
};

// The About box over owner, modal to the whole program but without a loop
// of its own: it deletes itself when closed. Returns the box.
frmAbout *ShowAboutBox(QWidget *owner);

// Help > About: refused (nothing happens) while a load, save or upload is
// under way or events are held off.
void mnuAbout_Click(Form1 &mainWindow);

// Help > Pelkar Help: the contents; allowed at any time.
void mnuPelkarHelp_Click();
