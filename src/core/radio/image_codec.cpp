#include "core/radio/image_codec.h"

#include <algorithm>

#include "core/radio/channel_codec.h"
#include "core/radio/identity_codec.h"
#include "core/radio/settings_codec.h"

namespace zt {

void encodeDocument(RadioDocument& doc, const ProgramState& state, RadioImage& image)
{
    auto& b = image.bytes;
    std::fill_n(b.begin() + img::ScanBitmap, img::BitmapBytes, 0x00);
    std::fill_n(b.begin() + img::PresentBitmap, img::BitmapBytes, 0x00);
    std::fill(b.begin(), b.begin() + img::ScanBitmap, 0xFF);
    std::fill(b.begin() + img::GroupNames, b.end(), 0xFF);

    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) encodeChannel(doc.Channels[static_cast<std::size_t>(i)], image);

    encodeIdentity(doc.Data, state, image);
    encodeSettings(doc.Data, image);
}

void decodeImage(const RadioImage& image, RadioDocument& doc, ProgramState& state)
{
    doc.Data.ChannelCount = 0;
    for (int i = 0; i < kMaxChannels; ++i) {
        if (i != kVfoChannel - 1 && !channelBit(image, img::PresentBitmap, i + 1)) continue;
        doc.Channels[static_cast<std::size_t>(doc.Data.ChannelCount)] = decodeChannel(image, i);
        ++doc.Data.ChannelCount;
    }
    decodeIdentity(image, doc.Data, state);
    decodeSettings(image, doc.Data);
    applyFeatureFlags(image[img::FeatureFlags], state);
}

}  // namespace zt
