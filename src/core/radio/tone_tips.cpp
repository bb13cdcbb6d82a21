#include "core/radio/tone_tips.h"

#include <algorithm>

namespace zt {
namespace {

void checkReference(const RadioData& data, std::int16_t& rbTone)
{
    if (rbTone != 0 && !sequenceDefined(data, rbTone)) rbTone = 0;
}

}  // namespace

bool sequenceDefined(const RadioData& data, int n)
{
    if (n < 1 || n > kToneTipCount) return false;
    const ToneTipSequence& seq = data.Tips[static_cast<std::size_t>(n - 1)];
    if (seq.RepeatCount < 1) return false;
    return std::any_of(seq.Notes.begin(), seq.Notes.end(),
                       [](const ToneTipNote& note) { return note.Duration > 0; });
}

void rbToneCheck(RadioDocument& doc, const std::function<void()>& rebuildOpenRbLists)
{
    const int count = std::clamp<int>(doc.Data.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i)
        checkReference(doc.Data, doc.Channels[static_cast<std::size_t>(i)].RBTone);
    checkReference(doc.Data, doc.Data.Options.Common.RBTone);
    if (rebuildOpenRbLists) rebuildOpenRbLists();
}

}  // namespace zt
