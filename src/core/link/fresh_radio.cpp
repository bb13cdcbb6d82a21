#include "core/link/fresh_radio.h"

#include <algorithm>

#include "core/link/info_block.h"
#include "core/radio/image_codec.h"
#include "core/radio/initial_values.h"

namespace zt {

RadioMemory freshRadioMemory(const FreshRadioOptions& o)
{
    RadioMemory memory;
    memory.fill(0xFF);

    RadioDocument doc;
    ProgramState state;
    applyNewDocumentDefaults(doc, state);
    RadioImage image;
    image.clear();
    encodeDocument(doc, state, image);
    std::copy(image.bytes.begin(), image.bytes.end(), memory.begin());

    // Identity bytes the radio itself keeps: reserved bytes 0, no feature flags set.
    memory[8695] = 0x00;
    for (int i = 0; i < 4; ++i)
        memory[static_cast<std::size_t>(VirtualRadio::kFirmwareVersionAddress + i)] =
            i < static_cast<int>(o.firmware.size())
                ? static_cast<std::uint8_t>(o.firmware[static_cast<std::size_t>(i)])
                : 0x00;
    memory[VirtualRadio::kFeatureFlagsAddress] = o.featureFlags;
    memory[8701] = 0x00;

    const std::span<std::uint8_t> block(memory.data() + kInfoBlockBase, kInfoBlockSize);
    writeInfoField(block, info::AreaCode, o.areaCode);
    writeInfoField(block, info::ManufactureCode, o.manufactureCode);
    writeInfoField(block, info::UserCode, o.userCode);
    writeInfoField(block, info::ProgramPassword, o.password);
    writeInfoField(block, info::SerialNumber, o.serialNumber);
    writeInfoField(block, info::ProductionDate, o.productionDate);
    writeInfoField(block, info::MaintenanceDate, o.maintenanceDate);
    writeInfoField(block, info::MaintenanceDescription, "");
    writeInfoField(block, info::DealerCode, o.dealerCode);
    writeInfoField(block, info::StockInDate, o.stockInDate);
    writeInfoField(block, info::SaleDate, o.saleDate);
    writeInfoField(block, info::Seller, o.seller);
    return memory;
}

}  // namespace zt
