#include "core/UpdateProgress.h"

#include "core/FormRegistry.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

UpdateProgress::UpdateProgress(QWidget *parent) : QDialog(parent)
{
    RegisterForm(this, QStringLiteral("UpdateProgress"));
    setWindowTitle(QStringLiteral("Version 7 Setup"));

    mText1 = new QPlainTextEdit(this);
    mText1->setObjectName(QStringLiteral("Text1"));
    mText1->setReadOnly(true);
    // Long paths stay on one line each; the scroll bars reach them.
    mText1->setLineWrapMode(QPlainTextEdit::NoWrap);
    mText1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mText1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mText1->setMinimumSize(560, 300);

    mCommand = new QPushButton(QStringLiteral("Ok, I've read this"), this);
    mCommand->setObjectName(QStringLiteral("Command"));
    mCommand->setDefault(true);
    mCommand->setVisible(false);
    connect(mCommand, &QPushButton::clicked, this, &UpdateProgress::Command_Click);

    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(mCommand);
    row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mText1, 1);
    layout->addLayout(row);
}

UpdateProgress::~UpdateProgress()
{
    if (&UpdateProgressWindow() == static_cast<UpdateProgressSink *>(this))
        SetUpdateProgressSink(nullptr);
}

void UpdateProgress::AddText(const QString &text)
{
    mText1->moveCursor(QTextCursor::End);
    mText1->insertPlainText(text + u'\n');
    mText1->ensureCursorVisible();
    // The window repaints between the copies.
    QCoreApplication::processEvents();
}

void UpdateProgress::ShowModeless()
{
    show();
}

void UpdateProgress::ShowFinalModal()
{
    // Shown again so that it comes back modal.
    hide();
    mCommand->setVisible(true);
    exec();
}

void UpdateProgress::HideWindow()
{
    hide();
}

void UpdateProgress::Command_Click()
{
    accept();
}

bool Tidy_Version6WithProgress()
{
    UpdateProgress window;
    SetUpdateProgressSink(&window);
    const bool result = Tidy_Version6();
    SetUpdateProgressSink(nullptr);
    if (!result && window.isVisible()) {
        window.hide();
        window.exec();
    }
    return result;
}
