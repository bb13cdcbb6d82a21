#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/radio/fixed_text.h"
#include "core/values/band_limits.h"

namespace zt {

constexpr const char* kStandardModel = "ZT-958FM";
constexpr const char* kStandardBand = "25.615 - 30.105 MHz";

// Four feature flags seen on radios so far (bits 3, 2, 1, 0 of image byte
// 8700); each byte only ever goes from 0 to 1. Kept in Setting.ini.
struct SettingRecord {
    std::array<std::uint8_t, 4> Bytes{};
    friend bool operator==(const SettingRecord&, const SettingRecord&) = default;
};

// What the radio-information window shows; lives for the run, never saved.
struct RadioInfoRecord {
    std::int16_t BandCode = 0;
    FixedText<16> SerialNumber;
    FixedText<16> ProductionDate;
    FixedText<16> MaintenanceDate;
    FixedText<96> MaintenanceDescription;
    std::string VersionText;
    std::string ModelText;
    std::string AreaCode;
    FixedText<8> ManufactureCode;
    FixedText<4> UserCode;
    FixedText<16> DealerCode;
    FixedText<16> StockInDate;
    FixedText<16> SaleDate;
    FixedText<16> Seller;

    friend bool operator==(const RadioInfoRecord&, const RadioInfoRecord&) = default;
};

// Program-wide values that live for the whole run: the current model and band
// (the band text gives the limits of frequency entry), the feature flags and
// the two write-refusal flags of the last read, and the radio information.
struct ProgramState {
    std::string ModelName = kStandardModel;
    std::string BandText = kStandardBand;
    BandLimits Limits = parseBandLimits(kStandardBand);
    SettingRecord Settings;
    bool RefuseWriteFlag1 = false;  // bit 3 of byte 8700 of the last read
    bool RefuseWriteFlag2 = false;  // bit 2 of byte 8700 of the last read
    RadioInfoRecord RadioInfo;

    void setBandText(const std::string& text)
    {
        BandText = text;
        Limits = parseBandLimits(text);
    }
};

}  // namespace zt
