#pragma once

// The batch header form: the one window in which a batch's header is
// entered, for a new batch (Transcription's KeepGrid false) or to edit the
// open batch's header (KeepGrid true). Modeless; it hands its result back
// through gHeaderResult and HeaderFormFinished, after it has hidden itself.
// The field rules live in HeaderRules; this class wires them to controls.

#include "core/HeaderFields.h"
#include "transcription/Recent_files.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmHeader : public QMainWindow, public RecentMenuSink
{
    Q_OBJECT

public:
    // Builds the form and loads it: the header of the open batch while
    // KeepGrid is true, else a fresh header.
    explicit frmHeader(QWidget *parent = nullptr);
    ~frmHeader() override;

    // The program's own unload: stores the form's place and hides it,
    // raising nothing (the close box raises ExitProgram instead).
    void Unload();
    // Back after a hand-back that came to nothing (a chosen file that would
    // not load): the fields as they were left, ready to finish again.
    void Reopen();

    // Sets lblBatchID to the stored header's batch name and, for a new
    // header, warns when the save folder already holds a file of that name.
    void BuildBatchName();

    // Start New Batch: the open batch's header with the next page, dated
    // today, the page number also in the source reference.
    void ShowNextBatch(const QString &page);

    // The controls, named as their object names, for the handshake and tests.
    QComboBox *cboEvent() const { return mEvent; }
    QLineEdit *tbYear() const { return mYear; }
    QComboBox *cboQuarter() const { return mQuarter; }
    QComboBox *cboSource() const { return mSource; }
    QLineEdit *tbPage() const { return mPage; }
    QLineEdit *tbBatch() const { return mBatch; }
    QLabel *lbBatch() const { return mBatchLabel; }
    QLineEdit *tbPageLetter() const { return mPageLetter; }
    QComboBox *cboVNF() const { return mVnf; }
    QLineEdit *tbSourceRef() const { return mSourceRef; }
    QLineEdit *tbComments() const { return mComments; }
    QLineEdit *tbCreditName() const { return mCreditName; }
    QLineEdit *tbCreditEmail() const { return mCreditEmail; }
    QLineEdit *tbCreditType() const { return mCreditType; }
    QLineEdit *tbName() const { return mName; }
    QLineEdit *tbSyndicate() const { return mSyndicate; }
    QLineEdit *tbEmail() const { return mEmail; }
    QLineEdit *tbSubmitterID() const { return mSubmitterID; }
    QLineEdit *tbPassword() const { return mPassword; }
    QPushButton *cbOk() const { return mOk; }
    QPushButton *cmdCancel() const { return mCancel; }
    QLabel *lblBatchID() const { return mBatchID; }
    QLabel *lblCreated() const { return mCreated; }
    QLabel *lblUpdated() const { return mUpdated; }
    QAction *mnuFileOpen() const { return mFileOpen; }
    QAction *mnuruf(int n) const; // 1 to 10
    QAction *mnuViewScan() const { return mViewScan; }

    // A box's background as a stored colour (0x00BBGGRR), or
    // kWindowBackground for the system's window colour.
    static std::uint32_t backColour(const QWidget *box);
    static constexpr std::uint32_t kWindowBackground = 0x80000005;

    // The fields as they stand.
    HeaderFields fields() const;

    // RecentMenuSink: the form's recent-file items.
    void setItemCaption(int n, const QString &caption) override;
    void setItemVisible(int n, bool visible) override;
    void setSeparatorVisible(bool visible) override;

signals:
    // The form's result (HeaderResult); gHeaderResult holds it too. Raised
    // after the form has hidden itself; a receiver that wants the form gone
    // deletes it later (deleteLater), never inside the call.
    void HeaderFormFinished(int &result);

public slots:
    void cbOk_Click();
    void cmdCancel_Click();
    void mnuFileOpen_Click();
    void mnuruf_Click(int index);
    void mnuExit_Click();
    void mnuViewScan_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Load();
    bool keepGrid() const;
    bool suspended() const;
    void setFields(const HeaderFields &f);
    void setBack(QWidget *box, std::uint32_t colour);
    void showBatchBox(bool visible);

    // Field handlers.
    void cboEvent_Click();
    void tbYear_Change();
    void cboQuarter_Click();
    void cboSource_Click();
    void tbPage_Change();
    void tbBatch_Change();
    void tbPageLetter_Change();
    void cboVNF_Click();
    void tbSourceRef_Change();
    void tbComments_Change();
    void credit_Change();
    void transcriber_Change();
    void tbSubmitterID_Change();
    void tbPassword_Change();
    void gotFocus(QWidget *box, QFocusEvent *event);
    void lostFocus(QWidget *box);
    // Puts the focus back in the box once the focus change under way ends.
    void keepFocusIn(QWidget *box);

    void DisableOk();
    void CheckHeaderComplete();
    void CheckCreditFields();
    void SetSourceFields();
    bool CheckSubmitterId();
    void ShowEditButtons();
    void ShowBatchId();
    void WarnEventTypeChange();
    void WarnYearRangeChange();
    // Hands the result back: restores what the form wrote to Project at once
    // when the header is not taken, hides the form, then raises the event.
    void finish(int result);
    void storePosition();

    QComboBox *mEvent = nullptr;
    QLineEdit *mYear = nullptr;
    QComboBox *mQuarter = nullptr;
    QComboBox *mSource = nullptr;
    QLineEdit *mPage = nullptr;
    QLineEdit *mBatch = nullptr;
    QLabel *mBatchLabel = nullptr;
    QLineEdit *mPageLetter = nullptr;
    QComboBox *mVnf = nullptr;
    QLineEdit *mSourceRef = nullptr;
    QLineEdit *mComments = nullptr;
    QLineEdit *mCreditName = nullptr;
    QLineEdit *mCreditEmail = nullptr;
    QLineEdit *mCreditType = nullptr;
    QLineEdit *mName = nullptr;
    QLineEdit *mSyndicate = nullptr;
    QLineEdit *mEmail = nullptr;
    QLineEdit *mSubmitterID = nullptr;
    QLineEdit *mPassword = nullptr;
    QPushButton *mOk = nullptr;
    QPushButton *mCancel = nullptr;
    QLabel *mBatchID = nullptr;
    QLabel *mCreated = nullptr;
    QLabel *mUpdated = nullptr;
    QAction *mFileOpen = nullptr;
    QAction *mRecentSep = nullptr;
    std::array<QAction *, 10> mRecent{};
    QAction *mViewScan = nullptr;

    bool mHeaderChanged = false;
    std::uint32_t mSavedBackColour = kWindowBackground;
    // The box whose colour the focus changed last; a window coming back
    // to the front gives its focus back without a change of box.
    QPointer<QWidget> mFocusBox;
    QString mVnfAtLoad;
    int mBatchAtLoad = 0;
    bool mBatchShown = false;
    bool mUnloading = false;
    bool mFinished = false;
};
