#include "core/link/info_block.h"

#include <algorithm>
#include <cstdio>

namespace zt {

namespace {

struct BandEntry {
    int code;
    const char* text;
};
constexpr BandEntry kBands[] = {
    {0, "25.615 - 30.105 MHz"}, {1, "430 - 450 MHz"},  {2, "400 - 440 MHz"},  {3, "440 - 480 MHz"},
    {4, "400 - 450 MHz"},       {5, "450 - 480 MHz"},  {6, "430 - 440 MHz"},  {7, "430 - 480 MHz"},
    {8, "136 - 174 MHz"},       {9, "136 - 150 MHz"},  {10, "150 - 174 MHz"}, {11, "136 - 145 MHz"},
    {12, "145 - 174 MHz"},      {13, "144 - 146 MHz"}, {14, "144 - 148 MHz"}, {16, "350 - 390 MHz"},
    {32, "450 - 520 MHz"},
};

std::string twoDigits(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n % 100);
    return buf;
}

bool allDigits(std::string_view s)
{
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// n + 1 with at least 8 digits; digits only, so no sign or exponent sneaks in.
std::string plusOne(std::string_view digits)
{
    // Longer than 18 digits would not fit; such a number is left alone.
    unsigned long long n = 0;
    for (char c : digits) n = n * 10 + static_cast<unsigned>(c - '0');
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08llu", n + 1);
    return buf;
}

}  // namespace

InfoToolRecord initialInfoToolRecord(const CalendarDate& today, std::string_view shortDate)
{
    InfoToolRecord r;
    char ymd[16];
    std::snprintf(ymd, sizeof ymd, "%04d%02d%02d", today.year % 10000, today.month % 100,
                  today.day % 100);
    r.SerialNumber = std::string(ymd) + "00000001";
    r.ProductionDate = std::string(shortDate.substr(0, 16));
    r.ManufactureCode = twoDigits(today.month) + "-1-E-1";
    r.UserCode = "001A";
    r.AreaCode = "0595";
    r.ModelText = "ZT-958FM";
    r.BandCode = 0;
    r.VersionText = "V3.00";
    return r;
}

std::string infoBandText(int code)
{
    for (const auto& b : kBands)
        if (b.code == code) return b.text;
    return {};
}

int infoBandCode(std::string_view text)
{
    for (const auto& b : kBands)
        if (text == b.text) return b.code;
    return 0;
}

std::string readInfoField(std::span<const std::uint8_t> block, info::Field field)
{
    std::string s;
    for (int i = 0; i < field.length; ++i) {
        const std::size_t at = static_cast<std::size_t>(field.offset + i);
        if (at >= block.size()) break;
        const std::uint8_t b = block[at];
        if (b == 0x00 || b == 0xFF) break;
        s.push_back(static_cast<char>(b));
    }
    return s;
}

void writeInfoField(std::span<std::uint8_t> block, info::Field field, std::string_view text)
{
    for (int i = 0; i < field.length; ++i) {
        const std::size_t at = static_cast<std::size_t>(field.offset + i);
        if (at >= block.size()) break;
        block[at] = i < static_cast<int>(text.size())
                        ? static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)])
                        : 0x00;
    }
}

void decodeInfoTool(const Block& ident, const InfoBytes& block, InfoToolRecord& record)
{
    record.ModelText = readInfoField(ident, info::Field{0, 6});
    record.BandCode = ident[6];
    if (record.ModelText == "ZT-958" && record.BandCode == 1) {
        record.ModelText = "ZT-958FM";
        record.BandCode = 0;
    }
    record.AreaCode = readInfoField(block, info::AreaCode);
    record.ManufactureCode = readInfoField(block, info::ManufactureCode);
    record.UserCode = readInfoField(block, info::UserCode);
    record.ProgramPassword = readInfoField(block, info::ProgramPassword);
    record.SerialNumber = readInfoField(block, info::SerialNumber);
    record.ProductionDate = readInfoField(block, info::ProductionDate);
    record.MaintenanceDate = readInfoField(block, info::MaintenanceDate);
    record.MaintenanceDescription = readInfoField(block, info::MaintenanceDescription);
    record.DealerCode = readInfoField(block, info::DealerCode);
    record.StockInDate = readInfoField(block, info::StockInDate);
    record.SaleDate = readInfoField(block, info::SaleDate);
    record.Seller = readInfoField(block, info::Seller);
}

void encodeInfoTool(const InfoToolRecord& record, InfoBytes& block)
{
    writeInfoField(block, info::ProgramPassword, record.ProgramPassword);
    writeInfoField(block, info::DealerCode, record.DealerCode);
    writeInfoField(block, info::StockInDate, record.StockInDate);
    writeInfoField(block, info::SaleDate, record.SaleDate);
    writeInfoField(block, info::Seller, record.Seller);
}

void decodeRadioInfoBlock(const RadioInfoBlock& block, RadioInfoRecord& record)
{
    const std::span<const std::uint8_t> b(block.bytes);
    record.AreaCode = readInfoField(b, info::AreaCode);
    record.ManufactureCode = readInfoField(b, info::ManufactureCode);
    record.UserCode = readInfoField(b, info::UserCode);
    record.SerialNumber = readInfoField(b, info::SerialNumber);
    record.ProductionDate = readInfoField(b, info::ProductionDate);
    record.MaintenanceDate = readInfoField(b, info::MaintenanceDate);
    record.MaintenanceDescription = readInfoField(b, info::MaintenanceDescription);
    record.DealerCode = readInfoField(b, info::DealerCode);
    record.StockInDate = readInfoField(b, info::StockInDate);
    record.SaleDate = readInfoField(b, info::SaleDate);
    record.Seller = readInfoField(b, info::Seller);
}

std::string advanceSerialNumber(std::string_view serial)
{
    std::string_view s = serial;
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.size() > 8) {
        const std::string_view tail = s.substr(8);
        if (allDigits(tail) && tail.size() <= 18)
            return std::string(s.substr(0, 8)) + plusOne(tail);
    } else if (allDigits(s)) {
        return plusOne(s);
    }
    return std::string(s);
}

}  // namespace zt
