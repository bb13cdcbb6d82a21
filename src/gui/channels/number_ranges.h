#pragma once

#include <QString>
#include <set>

namespace zt::gui {

// "3, 6, 10-11": ascending numbers, each run of consecutive ones as first-last.
QString numberRanges(const std::set<int>& numbers);

}  // namespace zt::gui
