#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;

// The box behind MyMsgBox: the caller's text, a standard icon and one to six
// buttons carrying the caller's captions. It has no Close in its title bar and
// can be left only through its buttons; Esc answers only when a button after
// the first is captioned "Cancel".
class frmCustomMessageBox : public QDialog
{
    Q_OBJECT

public:
    // icon: an Mb::Icon number; any other value shows no icon. An empty title
    // shows the product name. buttons: the captions, left to right (one to
    // six; with none the box has no way out but done()).
    frmCustomMessageBox(const QString &prompt, int icon, const QString &title,
                        const QStringList &buttons, QWidget *parent = nullptr);

    // Shows the box modal with the arrow pointer and returns the caption of
    // the button pressed, exactly as given; empty when it was closed another way.
    QString run();

    // The caption of the button pressed; empty until one is.
    QString resultText() const { return mResult; }
    int icon() const { return mIcon; }

    QLabel *lblCaption() const { return mLblCaption; }
    const QList<QPushButton *> &cmdButton() const { return mCmdButton; }

public slots:
    // Esc and the window system's close: the Cancel button's answer when there
    // is one, otherwise nothing.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void cmdButton_Click(int index);
    void layOut(const QStringList &buttons);

    QString mPrompt;
    int mIcon = 0;
    QPixmap mIconPixmap;
    QStringList mCaptions;
    QString mResult;
    int mCancelIndex = -1;
    QLabel *mLblCaption = nullptr;
    QList<QPushButton *> mCmdButton;
};
