#include "core/radio/identity_codec.h"

#include <algorithm>
#include <string_view>

#include "core/radio/models.h"

namespace zt {

void encodeIdentity(RadioData& data, const ProgramState& state, RadioImage& image)
{
    currentToDocument(state, data);
    const std::string model = data.ModelName.cut();
    std::string_view text = model;
    int variant = data.BandCode;
    if (model == kStandardModel) {
        text = kStandardModelStored;
        variant = 1;
    }
    text = text.substr(0, std::min<std::size_t>(text.size(), kIdentityModelSize));
    for (int k = 0; k < kIdentityModelSize; ++k) {
        image[img::Identity + k] =
            k < static_cast<int>(text.size())
                ? static_cast<std::uint8_t>(text[static_cast<std::size_t>(k)])
                : 0x00;
    }
    image[img::IdentityVariant] = static_cast<std::uint8_t>(variant & 0xFF);
    const std::string_view version = kDataVersionText;
    for (int k = 0; k < 4; ++k) {
        image[img::IdentityVersion + k] =
            static_cast<std::uint8_t>(version[static_cast<std::size_t>(k)]);
    }
}

void decodeIdentity(const RadioImage& image, RadioData& data, ProgramState& state)
{
    std::string model;
    for (int k = 0; k < kIdentityModelSize; ++k) {
        const std::uint8_t b = image[img::Identity + k];
        if (b == 0x00 || b == 0xFF) break;
        model.push_back(static_cast<char>(b));
    }
    int variant = image[img::IdentityVariant];
    if (model == kStandardModelStored && variant == 1) {
        model = kStandardModel;
        variant = 0;
    }
    data.ModelName = model;
    data.BandCode = static_cast<std::int16_t>(variant);
    documentToCurrent(data, state);
}

}  // namespace zt
