#include "gui/transfer/link_options.h"

#include <fstream>
#include <system_error>

#include "core/files/ini_profile.h"

namespace zt::gui {

namespace {

constexpr const char* kVerifyKey = "VerifyAfterWrite";
constexpr const char* kTraceKey = "Trace";
constexpr const char* kTraceFileKey = "TraceFile";

bool flag(const std::filesystem::path& ini, const char* key)
{
    return readProfileString(ini, kLinkOptionsSection, key, "0") == "1";
}

}  // namespace

LinkOptions loadLinkOptions(const std::filesystem::path& mySetupIni)
{
    LinkOptions o;
    o.verifyAfterWrite = flag(mySetupIni, kVerifyKey);
    o.trace = flag(mySetupIni, kTraceKey);
    o.traceFile = readProfileString(mySetupIni, kLinkOptionsSection, kTraceFileKey, "");
    return o;
}

bool saveLinkOptions(const std::filesystem::path& mySetupIni, const LinkOptions& options)
{
    bool ok = writeProfileString(mySetupIni, kLinkOptionsSection, kVerifyKey,
                                 options.verifyAfterWrite ? "1" : "0");
    ok =
        writeProfileString(mySetupIni, kLinkOptionsSection, kTraceKey, options.trace ? "1" : "0") &&
        ok;
    ok =
        writeProfileString(mySetupIni, kLinkOptionsSection, kTraceFileKey, options.traceFile) && ok;
    return ok;
}

bool traceFileWritable(const std::filesystem::path& file)
{
    if (file.empty()) return false;
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    bool ok = false;
    {
        std::ofstream out(file, std::ios::app);
        ok = out.good();
    }
    if (ok && !existed) std::filesystem::remove(file, ec);
    return ok;
}

}  // namespace zt::gui
