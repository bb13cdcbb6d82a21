#include "core/interop/page_flow.h"

#include <cstddef>

namespace zt {
namespace {

int repeatedHeight(const std::vector<FlowBlock>& blocks, const FlowBlock& b)
{
    int h = 0;
    for (int i : b.repeatAtPageTop) h += blocks[static_cast<std::size_t>(i)].height;
    return h;
}

// Height of block i together with the blocks it must stay with: a run of keepWithNext blocks
// and the first block after them.
int chainHeight(const std::vector<FlowBlock>& blocks, std::size_t i)
{
    int h = 0;
    for (std::size_t j = i; j < blocks.size(); ++j) {
        h += blocks[j].height;
        if (!blocks[j].keepWithNext) break;
    }
    return h;
}

}  // namespace

std::vector<std::vector<int>> paginate(const std::vector<FlowBlock>& blocks, int pageHeight)
{
    std::vector<std::vector<int>> pages(1);
    int used = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const FlowBlock& b = blocks[i];
        // A chain that cannot fit on any page is not held together: its blocks then go one by
        // one, so a long run of headings cannot push everything onto empty pages.
        const int chain = chainHeight(blocks, i);
        const int need = chain + repeatedHeight(blocks, b) <= pageHeight ? chain : b.height;
        if (!pages.back().empty() && used + need > pageHeight) {
            pages.emplace_back();
            used = 0;
        }
        if (pages.back().empty()) {
            for (int r : b.repeatAtPageTop) {
                pages.back().push_back(r);
                used += blocks[static_cast<std::size_t>(r)].height;
            }
        }
        pages.back().push_back(static_cast<int>(i));
        used += b.height;
    }
    return pages;
}

}  // namespace zt
