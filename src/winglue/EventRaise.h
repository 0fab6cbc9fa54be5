#pragma once

// Relays a mouse-wheel message from the event filter that catches it to the
// main window's handler. RaiseWheel emits MouseWheel at once, inside the
// call, with both values by reference: whatever a handler writes into them
// is what the caller finds when RaiseWheel returns.
//
// Handlers must be connected with a direct connection (the default between
// objects of one thread): a queued connection cannot carry references.

#include <QObject>

class EventRaise : public QObject
{
    Q_OBJECT

public:
    explicit EventRaise(QObject *parent = nullptr);

    // lDistance: the wheel distance, 120 a notch, positive away from the
    // user. lButtons: the key and mouse-button state of the wheel message.
    void RaiseWheel(int &lDistance, int &lButtons);

signals:
    void MouseWheel(int &lDistance, int &lButtons);
};
