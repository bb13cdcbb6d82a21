#include "core/interop/csv_table.h"

#include <algorithm>

namespace zt {

CsvTable parseCsv(std::string_view text)
{
    CsvTable table;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool sawAnything = false;  // the record has a field beyond an empty first one
    int line = 1;
    int recordLine = 1;
    bool haveHeader = false;

    auto endRecord = [&] {
        fields.push_back(std::move(field));
        field.clear();
        const bool blank = !sawAnything && fields.size() == 1 && fields[0].empty();
        if (!blank) {
            if (!haveHeader) {
                table.header = std::move(fields);
                haveHeader = true;
            } else {
                table.rows.push_back(CsvRow{recordLine, std::move(fields)});
            }
        }
        fields.clear();
        sawAnything = false;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            sawAnything = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            sawAnything = true;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            // The LF that follows ends the record.
        } else if (c == '\n') {
            endRecord();
            ++line;
            recordLine = line;
        } else {
            field += c;
            sawAnything = true;
        }
    }
    if (quoted) {
        table.errorLine = recordLine;
        return table;
    }
    if (sawAnything || !field.empty() || !fields.empty()) endRecord();
    return table;
}

std::string csvLine(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& f = fields[i];
        if (f.find_first_of(",\"\r\n") == std::string::npos) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
}

}  // namespace zt
