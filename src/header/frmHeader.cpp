#include "header/frmHeader.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"
#include "core/clsEvents.h"
#include "header/HeaderRules.h"
#include "header/HeaderScan.h"
#include "lists/Districts.h"
#include "mainwindow/FormBackground.h"
#include "mainwindow/HelpTopics.h"
#include "mainwindow/OpenDialog.h"
#include "mainwindow/clsTressel.h"
#include "mainwindow/frmAbout.h"
#include "transcription/Change_Monitor.h"
#include "transcription/CrashRecovery.h"
#include "transcription/Transcription.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

using namespace HeaderRules;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kShowScan = QStringLiteral("Show Scan Image");
const QString kCloseScan = QStringLiteral("Close Scan Image");

// Which focus pair a box follows: A gives back the colour it had, B the
// window colour.
enum class FocusPair { A, B };

void setHelp(QObject *o, int context)
{
    o->setProperty("HelpContextID", context);
}

int currentYear()
{
    return Services::clock().today().year();
}

} // namespace

// ---- Building ----------------------------------------------------------------

// A window of its own from the start: placed before the window system
// has made it, its stored place is taken as its frame's.
frmHeader::frmHeader(QWidget *parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHeader"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(10);
    setFont(font);
    buildControls();
    buildMenus();
    Form_Load();
}

frmHeader::~frmHeader()
{
    if (gRecentFiles)
        gRecentFiles->setHeaderMenu(nullptr);
}

void frmHeader::buildControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Picture1"));
    central->setAutoFillBackground(true);
    setCentralWidget(central);

    const auto line = [this](const char *name, int maxLength, int help, const QString &tip) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        if (maxLength > 0)
            box->setMaxLength(maxLength);
        setHelp(box, help);
        box->setToolTip(tip);
        box->installEventFilter(this);
        return box;
    };
    const auto combo = [this](const char *name, const QStringList &items, int help,
                              const QString &tip) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        box->addItems(items);
        // Item data: the codes of the header's enumerations.
        for (int i = 0; i < items.size(); ++i)
            box->setItemData(i, i + 1);
        box->setCurrentIndex(-1);
        setHelp(box, help);
        box->setToolTip(tip);
        box->installEventFilter(this);
        return box;
    };
    const auto label = [this](const QString &text, QWidget *buddy = nullptr) {
        auto *l = new QLabel(text, this);
        if (buddy)
            l->setBuddy(buddy);
        return l;
    };
    const auto shownLabel = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setAutoFillBackground(true);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(110);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, ColorFromVb(kWhite));
        l->setPalette(p);
        return l;
    };

    mEvent = combo("cboEvent", {QStringLiteral("BIRTHS"), QStringLiteral("DEATHS"),
                                QStringLiteral("MARRIAGES")},
                   5202,
                   QStringLiteral("The event you are transcribing.  Click on the down-arrow then "
                                  "select the correct type, or press B,M or D."));
    mYear = line("tbYear", 4, 5212,
                 QStringLiteral("The Year you are transcribing - must be 1837 or greater."));
    mQuarter = combo("cboQuarter", {QStringLiteral("March"), QStringLiteral("June"),
                                    QStringLiteral("September"), QStringLiteral("December")},
                     5206,
                     QStringLiteral("The Quarter you are transcribing - Click on the down-arrow the "
                                    "select the appropriate quarter, or press M, J, S or D."));
    mSource = combo("cboSource", {QStringLiteral("FICHE"), QStringLiteral("FILM"),
                                  QStringLiteral("SCAN")},
                    5208,
                    QStringLiteral("The source of the data you are transcribing.  Click on the "
                                   "down-arrow and then select the appropriate source, or press F "
                                   "or S."));
    mPage = line("tbPage", 4, 6166, QStringLiteral("The Page Number being transcribed."));
    mBatch = line("tbBatch", 4, 6119,
                  QStringLiteral("Fiche/Film batch number.  Only used for Lumivark format "
                                 "filenames."));
    mPageLetter = line("tbPageLetter", 1, 6153,
                       QStringLiteral("Enter the first letter of the first surname - check with "
                                      "your coordinator if you need to complete."));
    mVnf = combo("cboVNF", {QStringLiteral("9z"), QStringLiteral("99"), QStringLiteral("XX")}, 6174,
                 QStringLiteral("Select the correct Volume Format - 99=1 or more numbers, "
                                "9z=Numbers followed by 1 alpha, XX=Roman Numerals"));
    mSourceRef = line("tbSourceRef", 50, 6184,
                      QStringLiteral("The reference for this data - allocated by your Quorvel "
                                     "co-ordinator.  "));
    mComments = line("tbComments", 128, 6122, QStringLiteral("Any comment you wish to enter."));
    const QString creditTip = QStringLiteral("Optional Entry - Press F1 for Details");
    mCreditName = line("tbCreditName", 0, 6161, creditTip);
    mCreditEmail = line("tbCreditEmail", 0, 6161, creditTip);
    mCreditType = line("tbCreditType", 0, 6161, creditTip);
    mName = line("tbName", 50, 6125, QStringLiteral("Your name.  Maximum 50 characters."));
    mSyndicate = line("tbSyndicate", 50, 6126,
                      QStringLiteral("The name of your Quorvel transcription syndicate (ask your "
                                     "co-ordinator) or your country if you are not a Quorvel "
                                     "transcriber."));
    mEmail = line("tbEmail", 100, 6127,
                  QStringLiteral("Your email address.  This is used to send you any correction "
                                 "requests."));
    mSubmitterID = line("tbSubmitterID", 25, 6128,
                        QStringLiteral("Your Quorvel SubmitterID - Required if you want to use the "
                                       "automatic file upload to Quorvel feature."));
    mPassword = line("tbPassword", 25, 6129,
                     QStringLiteral("Your Quorvel Password.   Maximum 15 characters."));

    mOk = new QPushButton(kIncompleteCaption, this);
    mOk->setObjectName(QStringLiteral("cbOk"));
    mOk->setToolTip(QStringLiteral("Proceed to the next screen.  This button is not available until "
                                   "all required fields (with a red background) have been "
                                   "completed correctly."));
    mOk->setMinimumWidth(260);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("cmdCancel"));
    mCancel->setToolTip(QStringLiteral("Cancel any changes and return to data input"));
    mCancel->setMinimumWidth(120);
    mCancel->hide();
    // Esc is Cancel while Cancel shows; a new header has nothing to go back to.
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] {
        if (mCancel->isVisibleTo(this))
            mCancel->click();
    });

    mBatchID = shownLabel("lblBatchID");
    mBatchID->setMinimumWidth(160);
    mCreated = shownLabel("lblCreated");
    mUpdated = shownLabel("lblUpdated");
    mBatchLabel = label(QStringLiteral("Batch"), mBatch);
    mBatchLabel->setObjectName(QStringLiteral("lbBatch"));

    // Required fields are light red at all times; the others the window colour.
    for (QWidget *w : {static_cast<QWidget *>(mEvent), static_cast<QWidget *>(mYear),
                       static_cast<QWidget *>(mQuarter), static_cast<QWidget *>(mSource),
                       static_cast<QWidget *>(mPage), static_cast<QWidget *>(mBatch),
                       static_cast<QWidget *>(mPageLetter), static_cast<QWidget *>(mVnf),
                       static_cast<QWidget *>(mSourceRef), static_cast<QWidget *>(mName),
                       static_cast<QWidget *>(mSyndicate)})
        setBack(w, kLightRed);
    for (QWidget *w : {mComments, mCreditName, mCreditEmail, mCreditType, mSubmitterID, mPassword})
        setBack(w, kWindowBackground);
    setBack(mEmail, kWhite);

    // The batch's fields.
    auto *batchFrame = new QGroupBox(this);
    batchFrame->setObjectName(QStringLiteral("fraBatch"));
    auto *bg = new QGridLayout(batchFrame);
    bg->addWidget(label(QStringLiteral("Event Type"), mEvent), 0, 0);
    bg->addWidget(mEvent, 0, 1);
    bg->addWidget(label(QStringLiteral("Year"), mYear), 0, 2);
    bg->addWidget(mYear, 0, 3);
    bg->addWidget(label(QStringLiteral("Quarter"), mQuarter), 0, 4);
    bg->addWidget(mQuarter, 0, 5);
    bg->addWidget(mSource, 1, 1);
    bg->addWidget(label(QStringLiteral("Page"), mPage), 1, 2);
    bg->addWidget(mPage, 1, 3);
    bg->addWidget(mBatchLabel, 1, 4);
    bg->addWidget(mBatch, 1, 5);
    bg->addWidget(label(QStringLiteral("Letter"), mPageLetter), 2, 2);
    bg->addWidget(mPageLetter, 2, 3);
    bg->addWidget(label(QStringLiteral("Volume Number Format"), mVnf), 2, 4);
    bg->addWidget(mVnf, 2, 5);
    bg->addWidget(label(QStringLiteral("Source/Scan Ref"), mSourceRef), 3, 0);
    bg->addWidget(mSourceRef, 3, 1, 1, 5);
    bg->addWidget(label(QStringLiteral("Comments"), mComments), 4, 0);
    bg->addWidget(mComments, 4, 1, 1, 5);
    auto *credit = new QGroupBox(QStringLiteral("Credit"), this);
    auto *cg = new QGridLayout(credit);
    cg->addWidget(label(QStringLiteral("Name"), mCreditName), 0, 0);
    cg->addWidget(mCreditName, 0, 1);
    cg->addWidget(label(QStringLiteral("Email"), mCreditEmail), 0, 2);
    cg->addWidget(mCreditEmail, 0, 3);
    cg->addWidget(label(QStringLiteral("Credit"), mCreditType), 1, 0);
    cg->addWidget(mCreditType, 1, 1, 1, 3);
    bg->addWidget(credit, 5, 0, 1, 6);
    auto *names = new QHBoxLayout;
    names->addWidget(new QLabel(QStringLiteral("Batch ID"), this));
    names->addWidget(mBatchID, 1);
    names->addSpacing(12);
    names->addWidget(new QLabel(QStringLiteral("Batch Created:"), this));
    names->addWidget(mCreated);
    names->addWidget(new QLabel(QStringLiteral("Updated:"), this));
    names->addWidget(mUpdated);
    bg->addLayout(names, 6, 0, 1, 6);
    bg->setColumnStretch(1, 2);
    bg->setColumnStretch(3, 1);
    bg->setColumnStretch(5, 2);

    // The transcriber's fields.
    auto *userFrame = new QGroupBox(this);
    userFrame->setObjectName(QStringLiteral("fraTranscriber"));
    auto *ug = new QGridLayout(userFrame);
    ug->addWidget(label(QStringLiteral("Your Name"), mName), 0, 0);
    ug->addWidget(mName, 0, 1);
    ug->addWidget(label(QStringLiteral("Syndicate (or country)"), mSyndicate), 1, 0);
    ug->addWidget(mSyndicate, 1, 1);
    ug->addWidget(label(QStringLiteral("Email address"), mEmail), 2, 0);
    ug->addWidget(mEmail, 2, 1);
    auto *quorvel = new QGroupBox(QStringLiteral("Quorvel"), this);
    auto *qg = new QGridLayout(quorvel);
    qg->addWidget(label(QStringLiteral("SubmitterID"), mSubmitterID), 0, 0);
    qg->addWidget(mSubmitterID, 0, 1);
    qg->addWidget(label(QStringLiteral("Password"), mPassword), 1, 0);
    qg->addWidget(mPassword, 1, 1);
    mSubmitterID->setMinimumWidth(170);
    mPassword->setMinimumWidth(170);
    ug->addWidget(quorvel, 0, 2, 3, 1);
    ug->setColumnStretch(1, 2);
    ug->setColumnStretch(2, 1);

    auto *notice = new QLabel(QStringLiteral("All boxes with a red background must be completed"),
                              this);
    notice->setObjectName(QStringLiteral("lblNotice"));
    notice->setAlignment(Qt::AlignCenter);
    notice->setAutoFillBackground(true);
    notice->setContentsMargins(8, 2, 8, 2);
    QPalette np = notice->palette();
    np.setColor(QPalette::Window, ColorFromVb(kLightRed));
    notice->setPalette(np);
    auto *noticeRow = new QHBoxLayout;
    noticeRow->addWidget(notice);
    noticeRow->addStretch(1);

    // Cancel left of the centre and OK right of it once Cancel shows; OK
    // alone is centred.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mCancel);
    buttons->addSpacing(26);
    buttons->addWidget(mOk);
    buttons->addStretch(1);

    auto *main = new QVBoxLayout(central);
    main->addWidget(batchFrame);
    main->addWidget(userFrame);
    main->addLayout(noticeRow);
    main->addLayout(buttons);

    // Tab order as the fields are listed.
    const QList<QWidget *> order{mEvent,      mYear,        mQuarter,     mSource,     mPage,
                                 mBatch,      mPageLetter,  mVnf,         mSourceRef,  mComments,
                                 mCreditName, mCreditEmail, mCreditType,  mName,       mSyndicate,
                                 mEmail,      mSubmitterID, mPassword,    mOk,         mCancel};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(mEvent, &QComboBox::currentIndexChanged, this, [this] { cboEvent_Click(); });
    connect(mQuarter, &QComboBox::currentIndexChanged, this, [this] { cboQuarter_Click(); });
    connect(mSource, &QComboBox::currentIndexChanged, this, [this] { cboSource_Click(); });
    connect(mVnf, &QComboBox::currentIndexChanged, this, [this] { cboVNF_Click(); });
    connect(mYear, &QLineEdit::textChanged, this, [this] { tbYear_Change(); });
    connect(mPage, &QLineEdit::textChanged, this, [this] { tbPage_Change(); });
    connect(mBatch, &QLineEdit::textChanged, this, [this] { tbBatch_Change(); });
    connect(mPageLetter, &QLineEdit::textChanged, this, [this] { tbPageLetter_Change(); });
    connect(mSourceRef, &QLineEdit::textChanged, this, [this] { tbSourceRef_Change(); });
    connect(mComments, &QLineEdit::textChanged, this, [this] { tbComments_Change(); });
    for (QLineEdit *box : {mCreditName, mCreditEmail, mCreditType})
        connect(box, &QLineEdit::textChanged, this, [this] { credit_Change(); });
    for (QLineEdit *box : {mName, mSyndicate, mEmail})
        connect(box, &QLineEdit::textChanged, this, [this] { transcriber_Change(); });
    connect(mSubmitterID, &QLineEdit::textChanged, this, [this] { tbSubmitterID_Change(); });
    connect(mPassword, &QLineEdit::textChanged, this, [this] { tbPassword_Change(); });
    connect(mOk, &QPushButton::clicked, this, &frmHeader::cbOk_Click);
    connect(mCancel, &QPushButton::clicked, this, &frmHeader::cmdCancel_Click);
}

void frmHeader::buildMenus()
{
    const auto item = [this](QMenu *menu, const char *name, const QString &text, int help) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        setHelp(a, help);
        return a;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mFileOpen = item(file, "mnuFileOpen", QStringLiteral("&Open"), 6147);
    connect(mFileOpen, &QAction::triggered, this, &frmHeader::mnuFileOpen_Click);
    mRecentSep = file->addSeparator();
    mRecentSep->setObjectName(QStringLiteral("mnusep1"));
    mRecentSep->setVisible(false);
    for (int n = 1; n <= 10; ++n) {
        QAction *a = file->addAction(QString());
        a->setObjectName(QStringLiteral("mnuruf%1").arg(n));
        setHelp(a, 6147);
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, n] { mnuruf_Click(n); });
        mRecent[n - 1] = a;
    }
    file->addSeparator()->setObjectName(QStringLiteral("mnusep2"));
    QAction *exit = item(file, "mnuExit", QStringLiteral("E&xit"), 6147);
    connect(exit, &QAction::triggered, this, &frmHeader::mnuExit_Click);

    QMenu *scan = menuBar()->addMenu(QStringLiteral("&Scan"));
    scan->setObjectName(QStringLiteral("mnuScan"));
    mViewScan = item(scan, "mnuViewScan", kShowScan, 6124);
    connect(mViewScan, &QAction::triggered, this, &frmHeader::mnuViewScan_Click);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction *contents = item(help, "mnuHelpContents", QStringLiteral("Help Contents"), 0);
    connect(contents, &QAction::triggered, this, &frmHeader::mnuHelpContents_Click);
    help->addSeparator();
    QAction *about = item(help, "mnuAbout", QStringLiteral("About Pelkar"), 0);
    connect(about, &QAction::triggered, this, &frmHeader::mnuAbout_Click);
}

QAction *frmHeader::mnuruf(int n) const
{
    return n >= 1 && n <= 10 ? mRecent[n - 1] : nullptr;
}

// ---- Loading -------------------------------------------------------------------

bool frmHeader::keepGrid() const
{
    return gTranscription && gTranscription->KeepGrid();
}

bool frmHeader::suspended() const
{
    return gEvents && gEvents->NoEvents();
}

void frmHeader::Form_Load()
{
    if (gProject && gProject->HdrX() >= 0
        && gProject->HdrX() < PixelsToTwipsX(Services::screen().screenRect().width()) - 200) {
        PlaceWindowFrame(*this, QPoint(TwipsToPixelsX(gProject->HdrX()), TwipsToPixelsY(gProject->HdrY())));
    }
    mHeaderChanged = false;
    gHeaderResult = HeaderResult::NoResult;
    RecoveryWindow().HideForm1();

    if (gTressel) {
        const QString none = QStringLiteral("~");
        gTressel->setOldRow(none, none, none);
        gTressel->setDistrict(none, none);
        gTressel->setYTQ(none);
    }

    SetFormBackground(centralWidget());
    setWindowTitle(QStringLiteral("Pelkar v%1.%2.%3 - Batch Header")
                       .arg(PELKAR_VERSION_MAJOR)
                       .arg(PELKAR_VERSION_MINOR)
                       .arg(PELKAR_VERSION_PATCH));
    mPassword->setEchoMode(gProject && gProject->HidePassword() ? QLineEdit::Password
                                                                 : QLineEdit::Normal);
    gHeaderOpenFile.clear();
    mBatchAtLoad = gProject ? gProject->Batchnumber() : 0;

    const bool editing = keepGrid();
    if (editing) {
        mFileOpen->setEnabled(false);
    } else {
        mCancel->hide();
        if (gRecentFiles) {
            gRecentFiles->setHeaderMenu(this);
            gRecentFiles->ShowMenu();
        }
    }

    EventsOffGuard quiet;
    if (editing && gProject) {
        setFields(gProject->ShowProject());
        mVnfAtLoad = gProject->vnf();
        BuildBatchName();
        if (gProject->HeaderIsComplete()) {
            mOk->setText(kContinueCaption);
            mOk->setEnabled(true);
        } else {
            mOk->setText(kMissingCaption);
            mOk->setEnabled(false);
        }
        const int source = gProject->SourceType();
        if (source == SourceType::Fiche || source == SourceType::Film) {
            showBatchBox(true);
            mBatchLabel->setToolTip(QStringLiteral("Enter the Fiche Number (Max 5 chars)"));
            mBatchLabel->setText(source == SourceType::Fiche ? QStringLiteral("Fiche Number")
                                                             : QStringLiteral("Batch"));
            mBatch->setText(QString::number(gProject->Batchnumber()));
        } else {
            showBatchBox(false);
            mBatchLabel->setText(QStringLiteral("Batch"));
        }
    } else {
        for (QComboBox *list : {mEvent, mQuarter, mSource, mVnf})
            list->setCurrentIndex(-1);
        for (QLineEdit *box : {mYear, mPageLetter, mPage, mCreditName, mCreditEmail, mCreditType})
            box->clear();
        mBatchID->clear();
        mCreated->clear();
        mUpdated->clear();
        DisableOk();
        showBatchBox(false);
        if (gProject) {
            mComments->setText(gProject->CommentLine());
            mSourceRef->setText(gProject->SourceRef());
            QString name, syndicate, mail, submitter, password;
            gProject->GetProjNames(name, syndicate, mail, submitter, password);
            mName->setText(name);
            mSyndicate->setText(syndicate);
            mEmail->setText(mail);
            mSubmitterID->setText(submitter);
            mPassword->setText(password);
        }
    }
    // Only the light-red half at load: both filled shows both belong together.
    if (!mSubmitterID->text().isEmpty())
        setBack(mPassword, kLightRed);
    if (!mPassword->text().isEmpty())
        setBack(mSubmitterID, kLightRed);
    if (AnyCredit(fields()))
        CheckCreditFields();
}

void frmHeader::ShowNextBatch(const QString &page)
{
    if (!gProject)
        return;
    {
        EventsOffGuard quiet;
        setFields(gProject->ShowProject());
        const QString today =
            QLocale::c().toString(Services::clock().today(), QStringLiteral("dd-MMM-yyyy"));
        mCreated->setText(today);
        mUpdated->setText(today);
        // The next page's name, with a warning when its file exists.
        BuildBatchName();
    }
    mSourceRef->setText(page + u' ');
    CheckHeaderComplete();
}

void frmHeader::setFields(const HeaderFields &f)
{
    mEvent->setCurrentIndex(f.cboEvent - 1);
    mQuarter->setCurrentIndex(f.cboQuarter - 1);
    mSource->setCurrentIndex(f.cboSource - 1);
    mVnf->setCurrentIndex(f.cboVNF - 1);
    mYear->setText(f.tbYear);
    mPage->setText(f.tbPage);
    mPageLetter->setText(f.tbPageLetter);
    mBatch->setText(f.tbBatch);
    mSourceRef->setText(f.tbSourceRef);
    mComments->setText(f.tbComments);
    mName->setText(f.tbName);
    mSyndicate->setText(f.tbSyndicate);
    mEmail->setText(f.tbEmail);
    mSubmitterID->setText(f.tbSubmitterID);
    mPassword->setText(f.tbPassword);
    mCreditName->setText(f.tbCreditName);
    mCreditEmail->setText(f.tbCreditEmail);
    mCreditType->setText(f.tbCreditType);
    mBatchID->setText(f.lblBatchID);
    mCreated->setText(f.lblCreated);
    mUpdated->setText(f.lblUpdated);
}

HeaderFields frmHeader::fields() const
{
    HeaderFields f;
    f.lblBatchID = mBatchID->text();
    f.lblCreated = mCreated->text();
    f.lblUpdated = mUpdated->text();
    f.cboEvent = mEvent->currentIndex() + 1;
    f.cboQuarter = mQuarter->currentIndex() + 1;
    f.cboSource = mSource->currentIndex() + 1;
    f.cboVNF = mVnf->currentIndex() + 1;
    f.tbYear = mYear->text();
    f.tbPage = mPage->text();
    f.tbPageLetter = mPageLetter->text();
    f.tbBatch = mBatch->text();
    f.batchVisible = mBatchShown;
    f.tbSourceRef = mSourceRef->text();
    f.tbComments = mComments->text();
    f.tbName = mName->text();
    f.tbEmail = mEmail->text();
    f.tbSyndicate = mSyndicate->text();
    f.tbSubmitterID = mSubmitterID->text();
    f.tbPassword = mPassword->text();
    f.tbCreditName = mCreditName->text();
    f.tbCreditEmail = mCreditEmail->text();
    f.tbCreditType = mCreditType->text();
    return f;
}

void frmHeader::showBatchBox(bool visible)
{
    mBatchShown = visible;
    mBatch->setVisible(visible);
    mBatchLabel->setVisible(visible);
}

void frmHeader::setBack(QWidget *box, std::uint32_t colour)
{
    box->setProperty("backColour", QVariant::fromValue<quint32>(colour));
    QPalette p = box->palette();
    const QColor c = colour == kWindowBackground
                         ? QApplication::palette().color(QPalette::Base)
                         : ColorFromVb(colour);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    box->setPalette(p);
}

std::uint32_t frmHeader::backColour(const QWidget *box)
{
    const QVariant v = box->property("backColour");
    return v.isValid() ? v.value<quint32>() : kWindowBackground;
}

void frmHeader::BuildBatchName()
{
    if (!gProject)
        return;
    mBatchID->setText(gProject->BuildBatchName());
    gProject->GoToSaveDir();
    if (!keepGrid() && QFileInfo::exists(QDir(gProject->SavePath()).filePath(mBatchID->text())))
        ShowMessage(QStringLiteral("Warning - that output file already exists"), Mb::Exclamation);
}

// ---- Focus and keys ------------------------------------------------------------

bool frmHeader::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QWidget *>(watched);
    if (!box)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        gotFocus(box, static_cast<QFocusEvent *>(event));
        break;
    case QEvent::FocusOut: {
        // A message box or a menu taking the focus for a moment is not the
        // transcriber leaving the field.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            lostFocus(box);
        break;
    }
    case QEvent::KeyPress: {
        auto *line = qobject_cast<QLineEdit *>(box);
        if (!line)
            break;
        auto *key = static_cast<QKeyEvent *>(event);
        // Only characters are filtered: moving keys, shortcuts and control
        // keys other than backspace and Enter go on as they are.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            break;
        int code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (key->key() == Qt::Key_Backspace)
            code = 8;
        else if (!key->text().isEmpty() && key->text().at(0).unicode() >= 32
                 && key->text().at(0).unicode() != 127)
            code = key->text().at(0).unicode();
        if (code == 0)
            break;
        KeyField field = KeyField::NoQuote;
        if (line == mYear)
            field = KeyField::Year;
        else if (line == mBatch)
            field = KeyField::Batch;
        else if (line == mPage)
            field = KeyField::Page;
        else if (line == mPageLetter)
            field = KeyField::PageLetter;
        else if (line == mSubmitterID)
            field = KeyField::SubmitterID;
        const int result = FilterKey(field, code);
        if (result == 0) {
            BeepIfEnabled();
            return true;
        }
        if (result != code) {
            line->insert(QString(QChar(result)));
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmHeader::gotFocus(QWidget *box, QFocusEvent *event)
{
    const auto reason = event->reason();
    // The focus coming back after a message box or a menu is no change of
    // box; the window's first focus is one.
    if ((reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        && box == mFocusBox)
        return;
    if (suspended())
        return;
    const bool pairB = box == mBatch || box == mComments || box == mCreditName
                       || box == mCreditEmail || box == mCreditType;
    if (box == mPage) {
        if (mSource->currentIndex() < 0) {
            mSource->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!pairB)
        mSavedBackColour = backColour(box);
    setBack(box, kLightCyan);
    mFocusBox = box;
    if (box == mYear) {
        QTimer::singleShot(0, mYear, [this] { mYear->selectAll(); });
    } else if (box == mPage) {
        if (mPage->text().size() > mPage->maxLength())
            mPage->setText(mPage->text().left(mPage->maxLength()));
        QTimer::singleShot(0, mPage, [this] { mPage->selectAll(); });
    }
}

void frmHeader::lostFocus(QWidget *box)
{
    // Only a box the focus coloured has a colour to give back.
    const bool coloured = box == mFocusBox;
    mFocusBox.clear();
    const bool pairB = box == mBatch || box == mComments || box == mCreditName
                       || box == mCreditEmail || box == mCreditType;
    if (coloured)
        setBack(box, pairB ? kWindowBackground : mSavedBackColour);

    if (box == mYear) {
        if (suspended())
            return;
        if (!VbTrim(mYear->text()).isEmpty()) {
            if (!IsValidYear(mYear->text(), currentYear())) {
                ShowMessage(kInvalidYear, Mb::Critical);
                keepFocusIn(mYear);
            } else {
                ShowBatchId();
            }
        }
    } else if (box == mPage) {
        const QString message = PageCheck(mPage->text());
        if (!message.isEmpty()) {
            ShowMessage(message, Mb::Exclamation);
            keepFocusIn(mPage);
        }
    } else if (box == mBatch) {
        const QString text = VbTrim(mBatch->text());
        if (!text.isEmpty() && gProject) {
            bool ok = false;
            const int value = text.toInt(&ok);
            if (ok && value >= 1 && value <= 32767) {
                gProject->setBatchnumber(value);
            } else {
                ShowMessage(kBatchAtLeastOne, Mb::Exclamation);
                keepFocusIn(mBatch);
            }
        }
    } else if (box == mCreditName || box == mCreditEmail || box == mCreditType) {
        CheckCreditFields();
    }
}

void frmHeader::keepFocusIn(QWidget *box)
{
    QPointer<QWidget> target(box);
    QTimer::singleShot(0, this, [target] {
        if (target)
            target->setFocus(Qt::OtherFocusReason);
    });
}

// ---- Field handlers --------------------------------------------------------------

void frmHeader::cboEvent_Click()
{
    if (suspended())
        return;
    if (keepGrid())
        WarnEventTypeChange();
    ShowEditButtons();
    CheckHeaderComplete();
    ShowBatchId();
}

void frmHeader::tbYear_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    EventsOffGuard quiet;
    const QString year = VbTrim(mYear->text());
    if (year.size() == 4) {
        if (keepGrid()) {
            WarnYearRangeChange();
        } else if (YearValue(year) > 0 || year == QStringLiteral("0000")) {
            mVnf->setCurrentIndex(PresetVnf(YearValue(year)) - 1);
        }
        CheckHeaderComplete();
    } else {
        DisableOk();
    }
    ShowBatchId();
}

void frmHeader::cboQuarter_Click()
{
    if (suspended())
        return;
    ShowEditButtons();
    CheckHeaderComplete();
    ShowBatchId();
}

void frmHeader::cboSource_Click()
{
    if (suspended() || mSource->currentIndex() < 0)
        return;
    ShowEditButtons();
    {
        EventsOffGuard quiet;
        switch (mSource->currentIndex() + 1) {
        case SourceType::Scan:
            mPage->setToolTip(QStringLiteral("Enter the Page Number"));
            mBatchLabel->setText(QStringLiteral("Batch"));
            break;
        case SourceType::Fiche:
            mBatchLabel->setToolTip(QStringLiteral("Enter the Fiche Number (Max 5 chars)"));
            mBatchLabel->setText(QStringLiteral("Fiche Number"));
            break;
        default:
            mPage->setToolTip(QStringLiteral("Enter the 4 character Page Number"));
            mBatchLabel->setToolTip(QStringLiteral("Enter the Film Number or the Film Year"));
            mBatchLabel->setText(QStringLiteral("Batch"));
            break;
        }
        SetSourceFields();
    }
    CheckHeaderComplete();
    ShowBatchId();
}

void frmHeader::SetSourceFields()
{
    const int source = mSource->currentIndex() + 1;
    if (source == SourceType::Fiche || source == SourceType::Film) {
        showBatchBox(true);
        const int stored = gProject ? gProject->Batchnumber() : 0;
        mBatch->setText(stored < 1 ? QString() : QString::number(stored));
        if (gProject)
            gProject->setBatchnumber(YearValue(mBatch->text()));
    } else if (source == SourceType::Scan) {
        showBatchBox(false);
        if (gProject)
            gProject->setBatchnumber(0);
    }
}

void frmHeader::tbPage_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    if (VbTrim(mPage->text()).isEmpty()) {
        DisableOk();
        return;
    }
    const QString message = PageCheck(mPage->text());
    if (!message.isEmpty()) {
        ShowMessage(message, Mb::Exclamation);
        mOk->setEnabled(false);
        return;
    }
    ShowBatchId();
    CheckHeaderComplete();
}

void frmHeader::tbBatch_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    ShowBatchId();
    CheckHeaderComplete();
}

void frmHeader::tbPageLetter_Change()
{
    // Runs while events are held off too, so that the preview and OK follow
    // the letter however it was set.
    ShowEditButtons();
    CheckHeaderComplete();
    ShowBatchId();
}

void frmHeader::cboVNF_Click()
{
    if (suspended())
        return;
    ShowEditButtons();
    {
        EventsOffGuard quiet;
        if (!mYear->text().isEmpty() && mVnf->currentIndex() >= 0) {
            const VnfChoice choice = CheckVnfChoice(YearValue(mYear->text()),
                                                    mVnf->currentIndex() + 1);
            if (choice.beep)
                BeepIfEnabled();
            if (!choice.message.isEmpty())
                ShowMessage(choice.message, Mb::Exclamation);
            if (choice.backTo9z)
                mVnf->setCurrentIndex(VolumeNumberFormat::Vnf9z - 1);
        }
    }
    CheckHeaderComplete();
}

void frmHeader::tbSourceRef_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    CheckHeaderComplete();
}

void frmHeader::tbComments_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
}

void frmHeader::credit_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    CheckCreditFields();
    CheckHeaderComplete();
}

void frmHeader::transcriber_Change()
{
    if (suspended())
        return;
    ShowEditButtons();
    CheckHeaderComplete();
}

void frmHeader::tbSubmitterID_Change()
{
    if (suspended())
        return;
    setBack(mPassword, mSubmitterID->text().isEmpty() ? kWindowBackground : kLightRed);
    ShowEditButtons();
    CheckHeaderComplete();
}

void frmHeader::tbPassword_Change()
{
    if (suspended())
        return;
    setBack(mSubmitterID, mPassword->text().isEmpty() ? kWindowBackground : kLightRed);
    ShowEditButtons();
    CheckHeaderComplete();
}

// ---- Rules over the fields ---------------------------------------------------------

void frmHeader::DisableOk()
{
    mOk->setEnabled(false);
    mOk->setText(kIncompleteCaption);
}

void frmHeader::CheckHeaderComplete()
{
    DisableOk();
    if (!IsComplete(fields(), currentYear()))
        return;
    mOk->setText(CompleteCaption(keepGrid()));
    mOk->setEnabled(true);
    const QString today = Project::FormatHeaderDate(Services::clock().today());
    // An edited batch keeps the day it was started.
    if (!keepGrid() || mCreated->text().isEmpty())
        mCreated->setText(today);
    mUpdated->setText(today);
}

void frmHeader::CheckCreditFields()
{
    const std::uint32_t colour = AnyCredit(fields()) ? kLightRed : kWindowBackground;
    for (QLineEdit *box : {mCreditName, mCreditEmail, mCreditType}) {
        if (backColour(box) != kLightCyan)
            setBack(box, colour);
    }
}

bool frmHeader::CheckSubmitterId()
{
    if (CheckSubmitterIdChars(mSubmitterID->text()))
        return true;
    ShowMessage(kSubmitterIdMessage, Mb::OkOnly, kProductName);
    mSubmitterID->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmHeader::ShowEditButtons()
{
    if (suspended() || !keepGrid())
        return;
    mHeaderChanged = true;
    mOk->setText(kSaveContinueCaption);
    mCancel->show();
}

void frmHeader::ShowBatchId()
{
    const bool lumivark = gProject && gProject->bLumivark();
    const bool noLetter = gProject && gProject->bLumivarkNoLetter();
    mBatchID->setText(PreviewBatchId(fields(), lumivark, noLetter));
}

namespace {
StoredBatch storedBatch()
{
    StoredBatch s;
    if (!gProject)
        return s;
    s.zelLetter = gProject->ZelLetter();
    s.year = gProject->iYear();
    s.mother = gProject->Mother();
    s.spouse = gProject->Spouse();
    s.momsQtr = gProject->MomsQtr();
    s.spouseQtr = gProject->SpouseQtr();
    s.dobQtr = gProject->DoBQtr();
    return s;
}
} // namespace

void frmHeader::WarnEventTypeChange()
{
    if (mEvent->currentIndex() < 0)
        return;
    const QString warning = EventTypeWarning(mEvent->currentIndex() + 1, storedBatch());
    if (!warning.isEmpty())
        ShowMessage(warning, Mb::Exclamation, kProductName);
}

void frmHeader::WarnYearRangeChange()
{
    if (mEvent->currentIndex() < 0)
        return;
    const QString warning = YearRangeWarning(mEvent->currentIndex() + 1, mYear->text(),
                                             storedBatch());
    if (!warning.isEmpty())
        ShowMessage(warning, Mb::Exclamation, kProductName);
}

// ---- OK, Cancel and the hand-back ----------------------------------------------------

void frmHeader::cbOk_Click()
{
    if (suspended() || !gProject)
        return;
    ShowBatchId();
    if (HeaderScan().isLoaded() && gProject->ScanOn())
        HeaderScan().enableToolMenus();
    gProject->setPageNumberLength(int(VbTrim(mPage->text()).size()));

    // A name the boxes were given by pasting must still name a file of the
    // save folder, never a path out of it.
    if (!Project::IsPlainFileName(mBatchID->text())) {
        ShowMessage(QStringLiteral("The batch name ") + mBatchID->text()
                        + QStringLiteral(" is not a valid file name.") + kCrLf
                        + QStringLiteral("Please correct the page and the page letter."),
                    Mb::Exclamation);
        return;
    }

    const bool editing = keepGrid();
    if (!editing) {
        if (VbTrim(mSubmitterID->text()).isEmpty()) {
            const int answer = ShowMessage(
                QStringLiteral("You have not entered a submitterID and will not be able to use the "
                               "File Upload to Quorvel feature.")
                    + kCrLf
                    + QStringLiteral("Click OK to ignore this omission or Cancel to enter your ID "
                                     "and Password now."),
                Mb::OkCancel | Mb::Exclamation);
            if (answer == Mb::Cancel) {
                mSubmitterID->setFocus(Qt::OtherFocusReason);
                return;
            }
        } else if (!CheckSubmitterId()) {
            return;
        }
        gProject->GoToSaveDir();
        const QString existing = QDir(gProject->SavePath()).filePath(mBatchID->text());
        if (QFileInfo::exists(existing)) {
            const QString answer = MyMsgBox(
                QStringLiteral("A file with the name ") + mBatchID->text()
                    + QStringLiteral(" already exists.") + kCrLf + kCrLf
                    + QStringLiteral("To continue with that name you have 2 options...") + kCrLf
                    + kCrLf + QStringLiteral("1. Open it using the File->Open Menu.") + kCrLf
                    + QStringLiteral("2. Delete the file."),
                Mb::IconQuestion, kProductName,
                {QStringLiteral("Open It"), QStringLiteral("Delete It")});
            if (answer != QStringLiteral("Delete It")) {
                mFileOpen->setEnabled(true);
                if (gRecentFiles)
                    gRecentFiles->ShowMenu();
                mOk->setFocus(Qt::OtherFocusReason);
                return;
            }
            DeleteFileIfExists(existing);
            if (QFileInfo::exists(existing)) {
                ShowMessage(QStringLiteral("I could not delete ") + existing, Mb::Exclamation);
                return;
            }
        }
    } else {
        if (gTressel) {
            gTressel->setYTQ(QString::number(gProject->iYear()) + gProject->ZelLetter()
                             + QString::number(gProject->iQtr()));
        }
        if (!mHeaderChanged) {
            finish(HeaderResult::Cancelled);
            return;
        }
        if (!VbTrim(mSubmitterID->text()).isEmpty() && !CheckSubmitterId())
            return;
        // Another batch of the new name would be overwritten by the next save.
        const QString newName = mBatchID->text();
        if (newName != gProject->BatchName()) {
            gProject->GoToSaveDir();
            if (QFileInfo::exists(QDir(gProject->SavePath()).filePath(newName))) {
                const int keep = ShowMessage(
                    QStringLiteral("A file with the name ") + newName
                        + QStringLiteral(" already exists.") + kCrLf + kCrLf
                        + QStringLiteral("If this batch takes that name, saving it will replace "
                                         "that file.")
                        + kCrLf + QStringLiteral("Do you want to use that name?"),
                    Mb::YesNo | Mb::Exclamation);
                if (keep != Mb::Yes) {
                    mOk->setFocus(Qt::OtherFocusReason);
                    return;
                }
            }
        }
        const int answer = ShowMessage(
            QStringLiteral("This is your last chance to cancel these changes.") + kCrLf
                + QStringLiteral("Click Yes to Make the Changes, Cancel to return to entering data "
                                 "or No to return to the Header screen."),
            Mb::YesNoCancel | Mb::Question);
        if (answer == Mb::No)
            return;
        if (answer != Mb::Yes) {
            finish(HeaderResult::Cancelled);
            return;
        }
        gProject->Store(fields());
        const bool vnfChanged = gProject->vnf() != mVnfAtLoad;
        if (gTranscription) {
            gTranscription->ConvertGrid(mEvent->currentIndex() + 1, YearValue(mYear->text()),
                                        gProject->iQtr(), vnfChanged);
            gTranscription->AddLine1();
        }
    }

    if (gChangeMonitor)
        gChangeMonitor->Changed();
    if (gRecentFiles)
        gRecentFiles->Propose(QDir(gProject->SavePath()).filePath(mBatchID->text()));
    gProject->Store(fields());
    if (gTressel) {
        gTressel->setYTQ(QString::number(gProject->iYear()) + gProject->ZelLetter()
                         + QString::number(gProject->iQtr()));
    }
    if (gDistricts) {
        gDistricts->Read_Districts();
        gDistricts->ConvertFormat();
    }
    finish(editing ? HeaderResult::HeaderEdited : HeaderResult::NewBatch);
}

void frmHeader::cmdCancel_Click()
{
    finish(HeaderResult::Cancelled);
}

void frmHeader::finish(int result)
{
    if (mFinished)
        return;
    mFinished = true;
    // The batch box writes its number at once; a header not taken must not
    // leave it changed.
    if (gProject && result != HeaderResult::NewBatch && result != HeaderResult::HeaderEdited)
        gProject->setBatchnumber(mBatchAtLoad);
    gHeaderResult = result;
    Unload();
    int code = result;
    emit HeaderFormFinished(code);
}

void frmHeader::Unload()
{
    mUnloading = true;
    if (gRecentFiles)
        gRecentFiles->setHeaderMenu(nullptr);
    close();
}

void frmHeader::Reopen()
{
    mFinished = false;
    mUnloading = false;
    gHeaderResult = HeaderResult::NoResult;
    gHeaderOpenFile.clear();
    if (!keepGrid() && gRecentFiles) {
        gRecentFiles->setHeaderMenu(this);
        gRecentFiles->ShowMenu();
    }
}

void frmHeader::storePosition()
{
    if (!gProject)
        return;
    const QRect frame = WindowFrameRect(*this);
    gProject->setHdrX(PixelsToTwipsX(frame.x()));
    gProject->setHdrY(PixelsToTwipsY(frame.y()));
}

void frmHeader::closeEvent(QCloseEvent *event)
{
    storePosition();
    event->accept();
    if (mUnloading || mFinished)
        return;
    // Closed by the transcriber or the system: the program ends.
    mFinished = true;
    if (gProject)
        gProject->setBatchnumber(mBatchAtLoad);
    gHeaderResult = HeaderResult::ExitProgram;
    if (gRecentFiles)
        gRecentFiles->setHeaderMenu(nullptr);
    int code = HeaderResult::ExitProgram;
    emit HeaderFormFinished(code);
}

// ---- Menus ------------------------------------------------------------------------

void frmHeader::mnuFileOpen_Click()
{
    // The file is chosen while the form stands: a cancelled choice leaves
    // the transcriber on it with everything typed.
    QString path;
    if (!OpenInputFileDialog(path))
        return;
    gHeaderOpenFile = path;
    finish(HeaderResult::OpenFile);
}

void frmHeader::mnuruf_Click(int index)
{
    if (!gProject || !gRecentFiles)
        return;
    gProject->GoToSaveDir();
    const QString path = gRecentFiles->FileName(index);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        BeepIfEnabled();
        ShowMessage(QStringLiteral("Sorry - I can't find that file"), Mb::Exclamation);
        gRecentFiles->ShowMenu();
        return;
    }
    gHeaderOpenFile = path;
    finish(HeaderResult::OpenFile);
}

void frmHeader::mnuExit_Click()
{
    HeaderScan().unload();
    finish(HeaderResult::ExitProgram);
}

void frmHeader::mnuViewScan_Click()
{
    if (!gProject)
        return;
    if (mViewScan->text().startsWith(QStringLiteral("Show"))) {
        QString path;
        if (!SelectScanFileDialog(path)) {
            gProject->setScanOn(false);
            return;
        }
        ShowScanImage(path);
        mViewScan->setText(kCloseScan);
    } else {
        gProject->setScanFile(QString());
        HeaderScan().unload();
        RecoveryWindow().setZoomEnabled(false);
        mViewScan->setText(kShowScan);
    }
}

void frmHeader::mnuHelpContents_Click()
{
    OpenHelpContents();
}

void frmHeader::mnuAbout_Click()
{
    ShowAboutBox(this);
}

// ---- The recent-file items ----------------------------------------------------------

void frmHeader::setItemCaption(int n, const QString &caption)
{
    if (QAction *a = mnuruf(n))
        a->setText(caption);
}

void frmHeader::setItemVisible(int n, bool visible)
{
    if (QAction *a = mnuruf(n))
        a->setVisible(visible);
}

void frmHeader::setSeparatorVisible(bool visible)
{
    mRecentSep->setVisible(visible);
}
