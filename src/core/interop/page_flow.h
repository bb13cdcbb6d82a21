#pragma once

#include <vector>

namespace zt {

// Splits a flow of blocks (table rows, headings, paragraphs) into pages. A block is never
// split: it goes whole onto the page it fits on. A block marked keepWithNext (a heading)
// never ends a page while the block after it could follow it on the next one. A block may
// name blocks to repeat when it opens a page (a group's title and column headings above a
// continued table).
struct FlowBlock {
    int height = 0;
    bool keepWithNext = false;
    std::vector<int> repeatAtPageTop;  // indexes of earlier blocks
};

// For each page, the indexes of the blocks drawn on it from the top, repeated blocks included.
// A block taller than a page gets a page of its own. No blocks give one empty page.
std::vector<std::vector<int>> paginate(const std::vector<FlowBlock>& blocks, int pageHeight);

}  // namespace zt
