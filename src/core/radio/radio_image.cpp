#include "core/radio/radio_image.h"

#include <algorithm>

namespace zt {

Block RadioImage::blockBytes(int address) const
{
    Block b;
    b.fill(0xFF);
    for (int i = 0; i < kBlockSize; ++i) {
        const int a = address + i;
        if (a >= 0 && a < kImageSize) b[static_cast<std::size_t>(i)] = bytes[static_cast<std::size_t>(a)];
    }
    return b;
}

bool storeReceivedBlock(RadioImage& image, RadioInfoBlock& info, int address,
                        std::span<const std::uint8_t, kBlockSize> data)
{
    if (address >= 0 && address < kInfoBlockBase) {
        if (address + kBlockSize > kImageSize) return false;
        std::copy(data.begin(), data.end(), image.bytes.begin() + address);
        return true;
    }
    if (address >= kInfoBlockBase && address + kBlockSize <= kInfoBlockBase + kInfoBlockSize) {
        std::copy(data.begin(), data.end(), info.bytes.begin() + (address - kInfoBlockBase));
        return true;
    }
    return false;
}

}  // namespace zt
