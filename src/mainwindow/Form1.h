#pragma once

// The main window. For now a plain window that starts the program, shows
// itself and can be left through File > Exit; the grid and the commands
// come into it later.

#include <QMainWindow>

#include <memory>

class CTimer;
class FlexGrid;
class FlexGridView;
class EventRaise;
class QAction;

class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // The Load handler: its last step is the start-up. Returns false when
    // the start-up stopped the run (the window is then closed).
    bool Load();

    // Closes the window from code: no question is asked.
    void UnloadByCode();

    // Start-up's hooks into the main window.
    void CreateTimerAndRelay();
    void setHelpFolder(const QString &folder) { mHelpFolder = folder; }
    QString helpFolder() const { return mHelpFolder; }
    void WaitForHeaderForm();
    void SetUpMainForm();

    // True while a load, save or upload is under way or events are held off.
    bool CantUseMenues() const;

    // The transcription grid and its view.
    FlexGrid &fgInput() { return *mGrid; }
    FlexGridView *gridView() const { return mGridView; }

    CTimer *eTime() const { return mTime.get(); }
    EventRaise *cEvent() const { return mEvent.get(); }

public slots:
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<FlexGrid> mGrid;
    FlexGridView *mGridView = nullptr;
    std::unique_ptr<CTimer> mTime;
    std::unique_ptr<EventRaise> mEvent;
    QString mHelpFolder;
    QAction *mnuExit = nullptr;
};
