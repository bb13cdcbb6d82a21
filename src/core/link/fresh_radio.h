#pragma once

// A radio as it leaves the factory, for the virtual radio: the image of a new
// document, the identity "ZT-958"/1/"V300" and a filled information block.

#include <cstdint>
#include <string>

#include "core/link/virtual_radio.h"

namespace zt {

struct FreshRadioOptions {
    std::string firmware = "V300";
    std::uint8_t featureFlags = 0;  // identity byte 8700
    std::string password;           // program password, up to 4 characters
    std::string areaCode = "0595";
    std::string serialNumber = "2026010100000001";
    std::string manufactureCode = "01-1-E-1";
    std::string userCode = "001A";
    std::string productionDate = "2026-01-01";
    std::string maintenanceDate;
    std::string dealerCode;
    std::string stockInDate;
    std::string saleDate;
    std::string seller;
};

RadioMemory freshRadioMemory(const FreshRadioOptions& options = {});

}  // namespace zt
