#pragma once

// The radio's information block (0x3F00-0x3FFF) and identification block
// (0x21F0): their field layout, the information tool's record, and the
// conversions between them.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/radio/program_state.h"
#include "core/radio/radio_image.h"

namespace zt {

constexpr int kIdentBlockAddress = 0x21F0;  // 8688: model text, band code, identity bytes

// Offsets and lengths inside the information block.
namespace info {
struct Field {
    int offset;
    int length;
};
constexpr Field AreaCode{0, 4};
constexpr Field ManufactureCode{16, 8};
constexpr Field UserCode{32, 4};
constexpr Field ProgramPassword{44, 4};
constexpr Field SerialNumber{48, 16};
constexpr Field ProductionDate{64, 16};
constexpr Field MaintenanceDate{80, 16};
constexpr Field MaintenanceDescription{96, 96};
constexpr Field DealerCode{192, 16};
constexpr Field StockInDate{208, 16};
constexpr Field SaleDate{224, 16};
constexpr Field Seller{240, 16};
}  // namespace info

// The information tool's record. Texts are held cut; their lengths are
// applied when they are encoded.
struct InfoToolRecord {
    std::string ProgramPassword;
    std::string SerialNumber;
    std::string ProductionDate;
    std::string ManufactureCode;
    std::string UserCode;
    std::string MaintenanceDate;
    std::string DealerCode;
    std::string StockInDate;
    std::string SaleDate;
    std::string Seller;
    std::string MaintenanceDescription;
    std::string AreaCode;
    std::string ModelText;
    std::int16_t BandCode = 0;
    std::string VersionText;
    // DTMF, scrambler, stun, kill, factory: shown and kept, never sent.
    std::array<std::uint8_t, 5> OptionFlags{1, 1, 0, 0, 1};

    friend bool operator==(const InfoToolRecord&, const InfoToolRecord&) = default;
};

struct CalendarDate {
    int year = 2000;
    int month = 1;
    int day = 1;
};

// The record at the tool's start: serial number yyyymmdd + "00000001",
// production date `shortDate` (today in the system's short date form),
// manufacture code mm + "-1-E-1", user code "001A", area code "0595", model
// "ZT-958FM", band 0, version "V3.00", option flags 1, 1, 0, 0, 1.
InfoToolRecord initialInfoToolRecord(const CalendarDate& today, std::string_view shortDate);

// The band texts the information tool knows ("" for a code it does not).
std::string infoBandText(int code);
int infoBandCode(std::string_view text);  // 0 for a text not in the list

using InfoBytes = std::array<std::uint8_t, kInfoBlockSize>;

// A field's text: from its first byte up to, not including, the first 0x00
// or 0xFF, at most the field's length.
std::string readInfoField(std::span<const std::uint8_t> block, info::Field field);
// Writes `text` into the field, cut to its length and padded with 0x00.
void writeInfoField(std::span<std::uint8_t> block, info::Field field, std::string_view text);

// Identification block + information block -> record (model, band and every
// text field; the version text and the option flags stay as they are).
void decodeInfoTool(const Block& ident, const InfoBytes& block, InfoToolRecord& record);
// Record -> information block: program password, dealer code, stock-in date,
// sale date and seller; every other byte stays as read.
void encodeInfoTool(const InfoToolRecord& record, InfoBytes& block);

// The programming program's information read: the text fields into the
// radio-information record (the program password is not decoded; band,
// model and version stay).
void decodeRadioInfoBlock(const RadioInfoBlock& block, RadioInfoRecord& record);

// The serial number after a successful write: a numeric part after the
// eighth character (or a numeric number of at most 8 characters) goes up by
// one, written with at least 8 digits; anything else stays.
std::string advanceSerialNumber(std::string_view serial);

}  // namespace zt
