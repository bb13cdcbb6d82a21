#include "core/radio/models.h"

#include <array>

namespace zt {
namespace {

struct BandEntry {
    int code;
    std::string_view text;
};

constexpr std::array<BandEntry, 17> kBandTable{{
    {0, "25.615 - 30.105 MHz"},
    {1, "430 - 450 MHz"},
    {2, "400 - 440 MHz"},
    {3, "440 - 480 MHz"},
    {4, "400 - 450 MHz"},
    {5, "450 - 480 MHz"},
    {6, "430 - 440 MHz"},
    {7, "430 - 480 MHz"},
    {8, "136 - 174 MHz"},
    {9, "136 - 150 MHz"},
    {10, "150 - 174 MHz"},
    {11, "136 - 145 MHz"},
    {12, "145 - 174 MHz"},
    {13, "144 - 146 MHz"},
    {14, "144 - 148 MHz"},
    {16, "350 - 390 MHz"},
    {32, "450 - 520 MHz"},
}};

}  // namespace

int bandCodeOfText(std::string_view bandText)
{
    for (const BandEntry& e : kBandTable) {
        if (e.text == bandText) return e.code;
    }
    return 0;
}

std::string bandTextOfCode(int code)
{
    return code == 0 ? std::string(kStandardBand) : "";
}

void documentToCurrent(const RadioData& data, ProgramState& state)
{
    state.ModelName = data.ModelName.cut();
    state.setBandText(bandTextOfCode(data.BandCode));
    state.RadioInfo.BandCode = data.BandCode;
}

void currentToDocument(const ProgramState& state, RadioData& data)
{
    data.ModelName = state.ModelName;
    data.BandCode = static_cast<std::int16_t>(bandCodeOfText(state.BandText));
}

}  // namespace zt
