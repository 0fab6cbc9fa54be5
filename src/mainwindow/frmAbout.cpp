#include "mainwindow/frmAbout.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpTopics.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kIconFile = QStringLiteral("Pelkar.ico");

QLabel *label(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

QString descriptionText()
{
    return QStringLiteral(
        "Pelkar is for volunteer transcribers of the civil-registration index of births, "
        "marriages and deaths: key in the entries of each scanned page, let Pelkar check them, "
        "save them as a batch file and send it to Quorvel.");
}

QString disclaimerText()
{
    return QStringLiteral(
               "Pelkar is given free of charge, as it is, without any warranty. Keep copies of "
               "your batch files. For help with the program write to ")
           + Project::SupportEmail() + QLatin1Char('.');
}
} // namespace

frmAbout::frmAbout(QWidget *parent) : frmAbout(AboutIconPath(), parent) {}

frmAbout::frmAbout(const QString &iconPath, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    mIcon = label(QStringLiteral("picIcon"), this);
    mIcon->setFixedSize(48, 48);
    mIcon->setAlignment(Qt::AlignCenter);
    mTitle = label(QStringLiteral("lblTitle"), this);
    QFont big = mTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    mTitle->setFont(big);
    mVersion = label(QStringLiteral("lblVersion"), this);
    mAuthor = label(QStringLiteral("lblAuthor"), this);
    mDescription = label(QStringLiteral("lblDescription"), this);
    mDescription->setWordWrap(true);
    mDescription->setText(descriptionText());
    mDisclaimer = label(QStringLiteral("lblDisclaimer"), this);
    mDisclaimer->setWordWrap(true);
    mDisclaimer->setText(disclaimerText());
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    mOk = new QPushButton(QStringLiteral("OK"), this);
    mOk->setObjectName(QStringLiteral("cmdOK"));
    mOk->setDefault(true);
    connect(mOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);

    auto *top = new QGridLayout;
    top->addWidget(mIcon, 0, 0, 3, 1, Qt::AlignTop);
    top->addWidget(mTitle, 0, 1);
    top->addWidget(mVersion, 1, 1);
    top->addWidget(mAuthor, 2, 1);
    top->setColumnStretch(1, 1);
    top->setHorizontalSpacing(16);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(mDescription);
    layout->addWidget(line);
    layout->addWidget(mDisclaimer);
    layout->addLayout(buttons);
    setFixedWidth(440);

    Form_Load(iconPath);
}

QString frmAbout::AboutIconPath()
{
    if (gProject) {
        const QString installed = gProject->IconPath();
        if (!installed.isEmpty())
            return installed;
        if (!gProject->CommonAppData().isEmpty())
            return QDir(gProject->CommonAppData()).filePath(kIconFile);
    }
    const QString folder = Project::SystemFilesFolder();
    return folder.isEmpty() ? kIconFile : QDir(folder).filePath(kIconFile);
}

QString frmAbout::IconWarning(const QString &path, int errorNumber, const QString &description)
{
    return QStringLiteral("Unable to open icon file:") + path + kCrLf
           + QStringLiteral("Non-fatal error=") + QString::number(errorNumber) + QLatin1Char(' ')
           + description + kCrLf + QStringLiteral("Pelkar can continue so Press Ok");
}

void frmAbout::Form_Load(const QString &iconPath)
{
    const QString title = kProductName;
    setWindowTitle(QStringLiteral("About ") + title);
    mTitle->setText(title);
    mVersion->setText(QStringLiteral("Version %1.%2.%3")
                          .arg(PELKAR_VERSION_MAJOR)
                          .arg(PELKAR_VERSION_MINOR)
                          .arg(PELKAR_VERSION_PATCH));
    mAuthor->setText(QStringLiteral("Author:  The Pelkar volunteers ")
                     + QString::number(Services::clock().today().year()));

    // The old picture errors: 53 for a file that is not there, 481 for one
    // that is not a picture.
    if (!QFileInfo(iconPath).isFile()) {
        ShowMessage(IconWarning(iconPath, 53, QStringLiteral("File not found")), Mb::Exclamation,
                    kProductName);
        return;
    }
    // An icon file holds several sizes: the largest scales down best.
    QImageReader reader(iconPath);
    QImage icon;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && image.width() > icon.width())
            icon = image;
    }
    if (icon.isNull()) {
        ShowMessage(IconWarning(iconPath, 481, QStringLiteral("Invalid picture")), Mb::Exclamation,
                    kProductName);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(icon.scaled(QSize(48, 48) * ratio, Qt::KeepAspectRatio,
                                                    Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    mIcon->setPixmap(pixmap);
}

void frmAbout::cmdOk_Click()
{
    accept();
}

std::unique_ptr<frmAbout> frmAbout::ShowSplash()
{
    auto splash = std::make_unique<frmAbout>();
    splash->setWindowFlags(Qt::SplashScreen);
    splash->mOk->hide();
    splash->mDescription->setText(
        QStringLiteral("Please wait... The program is reading your District and Name files"));
    splash->setCursor(Qt::WaitCursor);
    splash->show();
    return splash;
}

frmAbout *ShowAboutBox(QWidget *owner)
{
    auto *box = new frmAbout(owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    return box;
}

void mnuAbout_Click(Form1 &mainWindow)
{
    if (mainWindow.CantUseMenues())
        return;
    ShowAboutBox(&mainWindow);
}

void mnuPelkarHelp_Click()
{
    OpenHelpContents();
}
