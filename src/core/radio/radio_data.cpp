#include "core/radio/radio_data.h"

namespace zt {

int RadioDocument::indexOfChannel(int chNo) const
{
    const int count = Data.ChannelCount < 0 ? 0 : (Data.ChannelCount > kMaxChannels ? kMaxChannels : Data.ChannelCount);
    for (int i = 0; i < count; ++i) {
        if (Channels[static_cast<std::size_t>(i)].ChNo == chNo) return i;
    }
    return -1;
}

ChannelRecord* RadioDocument::findChannel(int chNo)
{
    const int i = indexOfChannel(chNo);
    return i < 0 ? nullptr : &Channels[static_cast<std::size_t>(i)];
}

const ChannelRecord* RadioDocument::findChannel(int chNo) const
{
    const int i = indexOfChannel(chNo);
    return i < 0 ? nullptr : &Channels[static_cast<std::size_t>(i)];
}

}  // namespace zt
