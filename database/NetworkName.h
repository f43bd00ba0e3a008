#pragma once
// One computer of the LAN server's list: its name (upper case), whether this copy holds an open
// connection to it (1 connected, 0 not), the code of the user logged on there (255 until
// known) and the outgoing socket (-1 when none).

#include <cstdint>
#include <string>

struct stNetworkName {
    std::string sName;
    uint32_t nStatus = 0;
    uint8_t nUserCode = 255;
    int nSocket = -1;
};
