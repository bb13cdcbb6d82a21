#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zt {

constexpr int kImageSize = 9280;      // radio addresses 0x0000..0x243F
constexpr int kInfoBlockSize = 256;   // radio addresses 0x3F00..0x3FFF
constexpr int kInfoBlockBase = 0x3F00;
constexpr int kPasswordBlockAddress = 0x3F20;
constexpr int kBlockSize = 16;
constexpr int kImageBlocks = kImageSize / kBlockSize;  // 580

// Fixed offsets of the image.
namespace img {
constexpr int ScanBitmap = 8352;
constexpr int PresentBitmap = 8432;
constexpr int BitmapBytes = 66;
constexpr int GroupNames = 8512;
constexpr int Options = 8560;
constexpr int CommonChannel = 8592;
constexpr int MessageLines = 8608;
constexpr int PowerOnText = 8672;
constexpr int Identity = 8688;
constexpr int IdentityVariant = 8694;
constexpr int IdentityVersion = 8696;
constexpr int FeatureFlags = 8700;
constexpr int DtmfCodes = 8704;
constexpr int ToneTips = 8960;
constexpr int ResetModes = 9216;
constexpr int EmergencyRows = 9224;
constexpr int GroupAmFm = 9248;
}  // namespace img

using Block = std::array<std::uint8_t, kBlockSize>;

// The radio's programmable memory as one byte array, index = radio address.
struct RadioImage {
    std::array<std::uint8_t, kImageSize> bytes{};

    void clear() { bytes.fill(0xFF); }
    std::uint8_t& operator[](int i) { return bytes[static_cast<std::size_t>(i)]; }
    std::uint8_t operator[](int i) const { return bytes[static_cast<std::size_t>(i)]; }
    Block blockBytes(int address) const;
};

// The radio's information block, index = radio address - 0x3F00.
struct RadioInfoBlock {
    std::array<std::uint8_t, kInfoBlockSize> bytes{};

    void clear() { bytes.fill(0xFF); }
    std::uint8_t& operator[](int i) { return bytes[static_cast<std::size_t>(i)]; }
    std::uint8_t operator[](int i) const { return bytes[static_cast<std::size_t>(i)]; }
};

// Stores a received 16-byte block by its start address: below 0x3F00 into the
// image, 0x3F00..0x3FFF into the information block. Blocks that would not fit
// entirely into their buffer are ignored. Returns true when stored.
bool storeReceivedBlock(RadioImage& image, RadioInfoBlock& info, int address,
                        std::span<const std::uint8_t, kBlockSize> data);

}  // namespace zt
