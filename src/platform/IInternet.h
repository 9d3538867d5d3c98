#pragma once

class IInternet {
public:
    virtual ~IInternet() = default;
    virtual bool isConnected() = 0;
};
