#include "core/link/info_record_file.h"

#include <algorithm>
#include <cstdint>

namespace zt {

namespace {

struct FieldRef {
    const char* name;
    std::string InfoToolRecord::*member;
};

const std::vector<FieldRef>& fieldRefs()
{
    static const std::vector<FieldRef> refs{
        {"area_code", &InfoToolRecord::AreaCode},
        {"manufacture_code", &InfoToolRecord::ManufactureCode},
        {"user_code", &InfoToolRecord::UserCode},
        {"serial_number", &InfoToolRecord::SerialNumber},
        {"production_date", &InfoToolRecord::ProductionDate},
        {"maintenance_date", &InfoToolRecord::MaintenanceDate},
        {"maintenance_description", &InfoToolRecord::MaintenanceDescription},
        {"program_password", &InfoToolRecord::ProgramPassword},
        {"dealer_code", &InfoToolRecord::DealerCode},
        {"stock_in_date", &InfoToolRecord::StockInDate},
        {"sale_date", &InfoToolRecord::SaleDate},
        {"seller", &InfoToolRecord::Seller},
    };
    return refs;
}

void appendUtf8(std::string& out, std::uint8_t byte)
{
    if (byte < 0x80) {
        out.push_back(static_cast<char>(byte));
    } else {
        out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
        out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
}

std::string quoted(const std::string& text)
{
    static const char* digits = "0123456789abcdef";
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<std::uint8_t>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\u00";
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 0x0F]);
        } else {
            appendUtf8(out, b);
        }
    }
    out.push_back('"');
    return out;
}

// A reader over the file's text that reports the line of what it did not understand.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    void skipSpace()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    bool take(char c)
    {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::string where() const
    {
        int line = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
        return "line " + std::to_string(line);
    }

    // A quoted text; its characters must each fit in one byte.
    bool string(std::string& out, std::string& error)
    {
        if (!take('"')) {
            error = "a quoted text was expected at " + where();
            return false;
        }
        out.clear();
        while (pos_ < text_.size()) {
            const auto c = static_cast<std::uint8_t>(text_[pos_++]);
            if (c == '"') return true;
            if (c < 0x20) {
                error = "a line break or control character inside a text at " + where();
                return false;
            }
            std::uint32_t code = c;
            if (c == '\\') {
                if (!escape(code, error)) return false;
            } else if (c >= 0x80) {
                if (!utf8(c, code, error)) return false;
            }
            if (code > 0xFF) {
                error = "a character that cannot be stored in the radio at " + where();
                return false;
            }
            out.push_back(static_cast<char>(code));
        }
        error = "a text is not closed with \" at " + where();
        return false;
    }

  private:
    bool escape(std::uint32_t& code, std::string& error)
    {
        if (pos_ >= text_.size()) {
            error = "the file ends inside a text";
            return false;
        }
        const char e = text_[pos_++];
        switch (e) {
            case '"':
            case '\\':
            case '/':
                code = static_cast<std::uint8_t>(e);
                return true;
            case 'b':
                code = 0x08;
                return true;
            case 'f':
                code = 0x0C;
                return true;
            case 'n':
                code = 0x0A;
                return true;
            case 'r':
                code = 0x0D;
                return true;
            case 't':
                code = 0x09;
                return true;
            case 'u': {
                if (pos_ + 4 > text_.size()) break;
                code = 0;
                for (int i = 0; i < 4; ++i) {
                    const char h = text_[pos_++];
                    code <<= 4;
                    if (h >= '0' && h <= '9') {
                        code |= static_cast<std::uint32_t>(h - '0');
                    } else if (h >= 'a' && h <= 'f') {
                        code |= static_cast<std::uint32_t>(h - 'a' + 10);
                    } else if (h >= 'A' && h <= 'F') {
                        code |= static_cast<std::uint32_t>(h - 'A' + 10);
                    } else {
                        error = "a bad \\u escape at " + where();
                        return false;
                    }
                }
                return true;
            }
            default:
                break;
        }
        error = "an unknown escape in a text at " + where();
        return false;
    }

    bool utf8(std::uint8_t lead, std::uint32_t& code, std::string& error)
    {
        int more = 0;
        if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1F;
            more = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0F;
            more = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07;
            more = 3;
        } else {
            error = "the file is not UTF-8 text (" + where() + ")";
            return false;
        }
        for (int i = 0; i < more; ++i) {
            if (pos_ >= text_.size() || (static_cast<std::uint8_t>(text_[pos_]) & 0xC0) != 0x80) {
                error = "the file is not UTF-8 text (" + where() + ")";
                return false;
            }
            code = (code << 6) | (static_cast<std::uint8_t>(text_[pos_++]) & 0x3F);
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

const std::vector<std::string>& infoFileFieldNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const auto& r : fieldRefs()) v.emplace_back(r.name);
        return v;
    }();
    return names;
}

const std::vector<std::string>& infoFileWritableFields()
{
    static const std::vector<std::string> names{"program_password", "dealer_code", "stock_in_date",
                                                "sale_date", "seller"};
    return names;
}

std::map<std::string, std::string> infoFileFields(const InfoToolRecord& record)
{
    std::map<std::string, std::string> fields;
    for (const auto& r : fieldRefs()) fields[r.name] = record.*(r.member);
    return fields;
}

bool setInfoFileField(InfoToolRecord& record, std::string_view name, const std::string& value)
{
    for (const auto& r : fieldRefs()) {
        if (name == r.name) {
            record.*(r.member) = value;
            return true;
        }
    }
    return false;
}

std::string writeInfoFile(const std::map<std::string, std::string>& fields)
{
    std::string out = "{\n";
    bool first = true;
    for (const auto& name : infoFileFieldNames()) {
        const auto it = fields.find(name);
        if (it == fields.end()) continue;
        if (!first) out += ",\n";
        first = false;
        out += "  " + quoted(name) + ": " + quoted(it->second);
    }
    out += "\n}\n";
    return out;
}

InfoFileParse parseInfoFile(std::string_view text)
{
    InfoFileParse r;
    Reader in(text);
    if (!in.take('{')) {
        r.error = "the file does not start with {";
        return r;
    }
    if (!in.take('}')) {
        for (;;) {
            std::string name;
            std::string value;
            if (!in.string(name, r.error)) return r;
            if (!in.take(':')) {
                r.error = "a : was expected after \"" + name + "\" at " + in.where();
                return r;
            }
            if (!in.string(value, r.error)) return r;
            const auto& names = infoFileFieldNames();
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                r.error = "unknown field \"" + name + "\" at " + in.where();
                return r;
            }
            if (!r.fields.emplace(name, value).second) {
                r.error = "the field \"" + name + "\" is given twice";
                return r;
            }
            if (in.take('}')) break;
            if (!in.take(',')) {
                r.error = "a , or } was expected at " + in.where();
                return r;
            }
        }
    }
    in.skipSpace();
    if (!in.atEnd()) {
        r.error = "text after the closing } at " + in.where();
        return r;
    }
    return r;
}

}  // namespace zt
