#include "platform/InterfaceInternet.h"
#include <ifaddrs.h>
#include <net/if.h>
#include <memory>

bool InterfaceInternet::isConnected()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    std::unique_ptr<ifaddrs, decltype(&freeifaddrs)> owner(list, freeifaddrs);
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        const unsigned flags = i->ifa_flags;
        if (i->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK))
            return true;
    }
    return false;
}
