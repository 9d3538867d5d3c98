#pragma once
#include "platform/IInternet.h"

// Connected when a network interface other than loopback is up and running.
class InterfaceInternet : public IInternet {
public:
    bool isConnected() override;
};
