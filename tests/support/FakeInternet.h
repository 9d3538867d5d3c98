#pragma once
#include "platform/IInternet.h"

class FakeInternet : public IInternet {
public:
    bool isConnected() override { return connected; }
    bool connected = false;
};
