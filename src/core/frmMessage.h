#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The notice shown after a save and after an upload or download: a fixed
// explanation, a result line and a scrollable information text. The caller
// stores the texts, calls FlashIt, then shows the window.
class frmMessage : public QDialog
{
    Q_OBJECT

public:
    explicit frmMessage(QWidget *parent = nullptr);

    // Only store the texts; nothing shows until FlashIt. The result text is
    // stored trimmed of spaces.
    void setResultText(const QString &text);
    void setInfoText(const QString &text);
    QString resultText() const { return mResultText; }
    QString infoText() const { return mInfoText; }

    // Puts the stored texts into the window and asks the desktop to draw the
    // transcriber's attention to it.
    void FlashIt();

    QLabel *lbFixedText() const { return mLbFixedText; }
    QLabel *lbResult() const { return mLbResult; }
    QPlainTextEdit *txInfo() const { return mTxInfo; }
    QPushButton *Command1() const { return mCommand1; }

private:
    void Command1_Click();
    // Gives each word-wrapped label the height its text needs.
    void keepWrappedLabelsWhole();

    QString mResultText;
    QString mInfoText;
    QLabel *mLbFixedText = nullptr;
    QLabel *mLbResult = nullptr;
    QPlainTextEdit *mTxInfo = nullptr;
    QPushButton *mCommand1 = nullptr;
};
