#include "CTimer.h"

CTimer::CTimer(QObject *parent)
    : QObject(parent)
{
    // Coarse precision is plenty for the minute tick of the running time and
    // lets the system group wake-ups.
    mTimer.setTimerType(Qt::CoarseTimer);
    connect(&mTimer, &QTimer::timeout, this, &CTimer::PulseTimer);
}

CTimer::~CTimer()
{
    setInterval(0);
}

void CTimer::setInterval(int v)
{
    if (v < 1) {
        if (mInterval > 0)
            stopTicking();
        return;
    }
    if (v == mInterval)
        return;
    if (mInterval > 0)
        stopTicking();
    startTicking(v);
}

void CTimer::PulseTimer()
{
    emit ThatTime();
}

void CTimer::stopTicking()
{
    mTimer.stop();
    mInterval = 0;
}

// The only place the timer is started, so that timerStarts() counts every
// restart.
void CTimer::startTicking(int interval)
{
    mInterval = interval;
    mTimer.start(interval);
    ++mStarts;
}
