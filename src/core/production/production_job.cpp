#include "core/production/production_job.h"

#include <cctype>
#include <cstdint>
#include <set>

#include "core/link/info_block.h"
#include "core/link/info_record_file.h"

namespace zt {

namespace {

// A strict reader of the little JSON a job uses: objects, strings and the
// plain literals; it reports the line of what it does not understand.
class JobReader {
  public:
    explicit JobReader(std::string_view text) : text_(text) {}

    std::string error;

    void skipSpace()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }
    bool atEnd()
    {
        skipSpace();
        return pos_ >= text_.size();
    }
    char peek()
    {
        skipSpace();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    std::size_t pos() const { return pos_; }

    bool fail(const std::string& what)
    {
        if (error.empty()) error = "line " + std::to_string(line()) + ": " + what;
        return false;
    }

    bool expect(char c, const char* what)
    {
        if (peek() != c) return fail(std::string("expected ") + what);
        ++pos_;
        return true;
    }

    bool readString(std::string& out)
    {
        if (peek() != '"') return fail("expected a text in double quotes");
        ++pos_;
        out.clear();
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("a line break inside a text");
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out.push_back(e);
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 'u': {
                    unsigned code = 0;
                    for (int i = 0; i < 4; ++i) {
                        if (pos_ >= text_.size()) return fail("a \\u escape cut short");
                        const char h = text_[pos_++];
                        code <<= 4;
                        if (h >= '0' && h <= '9') {
                            code |= unsigned(h - '0');
                        } else if (h >= 'a' && h <= 'f') {
                            code |= unsigned(h - 'a' + 10);
                        } else if (h >= 'A' && h <= 'F') {
                            code |= unsigned(h - 'A' + 10);
                        } else {
                            return fail("a \\u escape needs four hexadecimal digits");
                        }
                    }
                    if (code >= 0xD800 && code <= 0xDFFF)
                        return fail("a \\u escape of half a character pair");
                    appendUtf8(out, code);
                    break;
                }
                default:
                    return fail(std::string("unknown escape \\") + e);
            }
        }
        return fail("a text without its closing quote");
    }

    // Passes over any value (for reporting its type), nested as deep as it goes.
    bool skipValue(int depth = 0)
    {
        if (depth > 32) return fail("values nested too deeply");
        const char c = peek();
        if (c == '"') {
            std::string s;
            return readString(s);
        }
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            if (peek() == close) {
                ++pos_;
                return true;
            }
            while (true) {
                if (c == '{') {
                    std::string key;
                    if (!readString(key) || !expect(':', "':' after a key")) return false;
                }
                if (!skipValue(depth + 1)) return false;
                if (peek() == ',') {
                    ++pos_;
                    continue;
                }
                return expect(close, c == '{' ? "',' or '}'" : "',' or ']'");
            }
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '-' ||
                text_[pos_] == '+' || text_[pos_] == '.'))
            ++pos_;
        if (pos_ == start) return fail("expected a value");
        return true;
    }

    static const char* typeName(char first)
    {
        switch (first) {
            case '"':
                return "a text";
            case '{':
                return "an object";
            case '[':
                return "a list";
            case 't':
            case 'f':
                return "true or false";
            case 'n':
                return "null";
            default:
                return "a number";
        }
    }

  private:
    static void appendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    int line() const
    {
        int n = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) n += text_[i] == '\n';
        return n;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// Reads the members of an object, handing each key to `member` with the reader
// placed on its value. Refuses a key given twice.
template <typename Member>
bool readObject(JobReader& r, const std::string& where, Member member)
{
    if (r.peek() != '{') return r.fail(where + " must be an object");
    r.expect('{', "'{'");
    std::set<std::string> seen;
    if (r.peek() == '}') return r.expect('}', "'}'");
    while (true) {
        std::string key;
        if (!r.readString(key)) return false;
        if (!seen.insert(key).second) return r.fail("the key \"" + key + "\" is given twice");
        if (!r.expect(':', "':' after a key")) return false;
        if (!member(key)) return false;
        if (r.peek() == ',') {
            r.expect(',', "','");
            continue;
        }
        return r.expect('}', "',' or '}'");
    }
}

bool readText(JobReader& r, const std::string& key, std::string& out)
{
    const char c = r.peek();
    if (c != '"') return r.fail("\"" + key + "\" must be a text, not " + JobReader::typeName(c));
    return r.readString(out);
}

}  // namespace

ProductionJobParse parseProductionJob(std::string_view text, const std::filesystem::path& folder)
{
    ProductionJobParse result;
    ProductionJob& job = result.job;
    JobReader r(text);
    bool hasDocument = false;
    const bool read = readObject(r, "the job", [&](const std::string& key) {
        if (key == "document") {
            std::string path;
            if (!readText(r, key, path)) return false;
            if (path.empty()) return r.fail("\"document\" is empty");
            job.document = std::filesystem::path(path);
            if (job.document.is_relative()) job.document = folder / job.document;
            hasDocument = true;
            return true;
        }
        if (key == "info") {
            if (r.peek() != '{')
                return r.fail(std::string("\"info\" must be an object, not ") +
                              JobReader::typeName(r.peek()));
            const std::size_t start = r.pos();
            if (!r.skipValue()) return false;
            const InfoFileParse info = parseInfoFile(text.substr(start, r.pos() - start));
            if (!info.error.empty()) return r.fail("\"info\": " + info.error);
            std::string missing;
            for (const auto& name : infoFileWritableFields())
                if (!info.fields.count(name)) missing += " " + name;
            if (!missing.empty())
                return r.fail("\"info\" lacks fields an information write sends:" + missing);
            job.info = info.fields;
            return true;
        }
        if (key == "require") {
            return readObject(r, "\"require\"", [&](const std::string& check) {
                std::string value;
                if (check != "model" && check != "band" && check != "firmware")
                    return r.fail("unknown check \"" + check +
                                  "\" in \"require\" (model, band, firmware)");
                if (!readText(r, check, value)) return false;
                if (check == "model") job.require.model = value;
                if (check == "band") job.require.band = value;
                if (check == "firmware") job.require.firmware = value;
                return true;
            });
        }
        return r.fail("unknown key \"" + key + "\" (document, info, require)");
    });
    if (read && !r.atEnd()) r.fail("text after the job's closing '}'");
    if (!r.error.empty()) {
        result.error = r.error;
        return result;
    }
    if (!hasDocument && !job.info)
        result.error = "the job writes nothing: give \"document\", \"info\" or both";
    return result;
}

std::string checkRequirements(const RadioRequirements& require, std::string_view model,
                              int bandCode, std::string_view firmware)
{
    std::string why;
    auto add = [&why](const std::string& s) { why += (why.empty() ? "" : "; ") + s; };
    if (require.model && *require.model != model)
        add("model " + std::string(model) + " is not " + *require.model);
    if (require.band) {
        const std::string text = infoBandText(bandCode);
        if (*require.band != text && *require.band != std::to_string(bandCode))
            add("band " + (text.empty() ? "code " + std::to_string(bandCode) : text) + " is not " +
                *require.band);
    }
    if (require.firmware && *require.firmware != firmware)
        add("firmware " + std::string(firmware) + " is not " + *require.firmware);
    return why;
}

}  // namespace zt
