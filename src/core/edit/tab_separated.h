#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zt {

// A block of cells as tab-separated text, the form spreadsheets put on the clipboard: one
// line per row (LF or CR LF), cells separated by tabs. A cell holding a tab, a line break or
// a double quote is written in double quotes with its quotes doubled, and read back so.
using CellBlock = std::vector<std::vector<std::string>>;

// The rows of a block; a final line break does not start another row. Empty text: no rows.
CellBlock parseTabSeparated(std::string_view text);

// The block as text, each row ended by a line break.
std::string formatTabSeparated(const CellBlock& block);

}  // namespace zt
