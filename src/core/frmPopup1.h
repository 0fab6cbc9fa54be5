#pragma once

#include <QDialog>

class QColor;
class QLabel;
class QPushButton;

// The small popup of the start-up recovery steps: a notice with one OK
// button, or a Yes/No question whose answer goes into gPopAnswer. Esc and the
// window system's close do nothing; keys Y and N answer a question.
class frmPopup1 : public QDialog
{
    Q_OBJECT

public:
    explicit frmPopup1(QWidget *parent = nullptr);

    // A question shows PopYes and PopNo; a notice shows Command1 alone.
    void setQuestion(bool question);
    bool isQuestion() const { return mQuestion; }
    // The caller's text; an invalid colour keeps the usual text colour.
    void setText(const QString &text, const QColor &colour);

    QLabel *Label1() const { return mLabel1; }
    QPushButton *PopYes() const { return mPopYes; }
    QPushButton *PopNo() const { return mPopNo; }
    QPushButton *Command1() const { return mCommand1; }

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void PopYes_Click();
    void PopNo_Click();
    void Command1_Click();
    // True when the key answered the question.
    bool answerKey(const QKeyEvent *event);

    QLabel *mLabel1 = nullptr;
    QPushButton *mPopYes = nullptr;
    QPushButton *mPopNo = nullptr;
    QPushButton *mCommand1 = nullptr;
    bool mQuestion = false;
};
