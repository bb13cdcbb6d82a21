#include "core/edit/tab_separated.h"

namespace zt {
namespace {

bool needsQuotes(std::string_view cell)
{
    return cell.find_first_of("\t\r\n\"") != std::string_view::npos;
}

}  // namespace

CellBlock parseTabSeparated(std::string_view text)
{
    CellBlock block;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;       // inside a quoted cell
    bool cellStarted = false;  // the current cell has begun (a quote may only open it)
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        cellStarted = false;
    };
    auto endRow = [&] {
        endCell();
        block.push_back(std::move(row));
        row.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell.push_back('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell.push_back(c);
            }
        } else if (c == '"' && !cellStarted) {
            quoted = true;
            cellStarted = true;
        } else if (c == '\t') {
            endCell();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            // CR LF ends the row at the LF.
        } else if (c == '\n' || c == '\r') {
            endRow();
        } else {
            cell.push_back(c);
            cellStarted = true;
        }
    }
    // A last row without its line break.
    if (!row.empty() || !cell.empty() || cellStarted) endRow();
    return block;
}

std::string formatTabSeparated(const CellBlock& block)
{
    std::string out;
    for (const auto& row : block) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out.push_back('\t');
            const std::string& cell = row[c];
            if (!needsQuotes(cell)) {
                out += cell;
                continue;
            }
            out.push_back('"');
            for (char ch : cell) {
                if (ch == '"') out.push_back('"');
                out.push_back(ch);
            }
            out.push_back('"');
        }
        out.push_back('\n');
    }
    return out;
}

}  // namespace zt
