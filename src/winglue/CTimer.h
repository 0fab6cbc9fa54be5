#pragma once

// A repeating timer whose state is its interval: Interval() above 0 means it
// is running and ticks (ThatTime) every Interval() milliseconds; 0 means it
// is stopped. Setting the interval it already has leaves a running timer
// undisturbed, so callers may set it again whenever the window is laid out
// without pushing the next tick back. Ticks arrive on the owning thread's
// event loop. Destroying the object stops it.
//
// Setting Interval to v:
// - v below 1 stops a running timer (Interval becomes 0); a stopped timer
//   stays as it is;
// - v equal to Interval changes nothing;
// - any other v stops a running timer and starts it again with v.

#include <QObject>
#include <QTimer>

class CTimer : public QObject
{
    Q_OBJECT

public:
    explicit CTimer(QObject *parent = nullptr);
    ~CTimer() override;

    // Milliseconds between ticks; 0 while stopped.
    int Interval() const { return mInterval; }
    void setInterval(int v);

    // For tests: the timer underneath, and how many times it has been
    // started (each start begins a fresh period).
    const QTimer &systemTimer() const { return mTimer; }
    int timerStarts() const { return mStarts; }

public slots:
    // Raises ThatTime once, at once; every tick comes through here.
    void PulseTimer();

signals:
    void ThatTime();

private:
    void stopTicking();
    void startTicking(int interval);

    QTimer mTimer;
    int mInterval = 0;
    int mStarts = 0;
};
