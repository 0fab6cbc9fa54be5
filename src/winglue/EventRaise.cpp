#include "EventRaise.h"

EventRaise::EventRaise(QObject *parent)
    : QObject(parent)
{
}

void EventRaise::RaiseWheel(int &lDistance, int &lButtons)
{
    emit MouseWheel(lDistance, lButtons);
}
