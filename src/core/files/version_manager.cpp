#include "core/files/version_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <system_error>

#include "core/files/ini_profile.h"
#include "core/radio/fixed_text.h"
#include "core/text_ids.h"
#include "core/values/number_text.h"

namespace zt {
namespace {

constexpr std::size_t kVersionValueMax = 511;  // values are read through a 512-character buffer

// A Version.ini value: cut at the first NUL, trailing spaces removed.
std::string versionValue(std::string_view raw)
{
    return cutAtZero(clipProfileValue(raw, kVersionValueMax));
}

}  // namespace

VersionTable loadVersionTable(const std::filesystem::path& versionIni)
{
    VersionTable table;
    std::string text;
    if (!readFileBytes(versionIni, text)) return table;

    const auto countText = findProfileValue(text, "Version", "FirmVersionCount");
    if (!countText) return table;
    const auto count = parseNumber(versionValue(*countText));
    if (!count || !std::isfinite(*count) || *count < 1) return table;

    // Entries "Firm0" .. "Firm<m-1>" (decimal, no leading zeros), first
    // occurrence wins. Collected from the file rather than looked up one by
    // one, so a huge count costs nothing.
    std::map<std::uint64_t, std::string_view> entries;
    forEachProfileEntry(
        text, [&](std::string_view section, std::string_view key, std::string_view raw) {
            if (!profileNamesEqual(section, "Firm") || key.size() < 5 || key.size() > 14) return;
            if (!profileNamesEqual(key.substr(0, 4), "Firm")) return;
            const std::string_view digits = key.substr(4);
            if (digits.size() > 1 && digits.front() == '0') return;
            std::uint64_t index = 0;
            for (const char c : digits) {
                if (c < '0' || c > '9') return;
                index = index * 10 + static_cast<std::uint64_t>(c - '0');
            }
            if (static_cast<double>(index) + 1.0 <= *count) entries.try_emplace(index, raw);
        });
    for (const auto& [index, raw] : entries) {
        const std::string value = versionValue(raw);
        if (value.empty()) continue;
        const std::size_t n = std::min<std::size_t>(4, value.size());
        table.pairs.push_back({value.substr(0, n), value.substr(value.size() - n)});
    }
    return table;
}

bool IsValidVersionText(std::string_view text)
{
    const std::string t = cutAtZero(text);
    return t.size() == 4 && t[0] == 'V' && isNumeric(std::string_view(t).substr(1));
}

bool IsVersionCompatible(const VersionTable& table, std::string_view soft, std::string_view firm)
{
    return std::any_of(table.pairs.begin(), table.pairs.end(),
                       [&](const VersionPair& p) { return p.soft == soft && p.firm == firm; });
}

std::string FindSoftForFirm(const VersionTable& table, std::string_view firm)
{
    for (const VersionPair& p : table.pairs) {
        if (p.firm == firm) return p.soft;
    }
    return {};
}

std::string shownVersionText(std::string_view version)
{
    const std::size_t tail = std::min<std::size_t>(2, version.size());
    std::string shown(version.substr(0, std::min<std::size_t>(2, version.size())));
    shown += '.';
    shown += version.substr(version.size() - tail);
    return shown;
}

std::string VersionMismatchText(std::string_view soft, std::string_view firm, VersionKind kind,
                                const TextLookup& text)
{
    std::string s = text(text::msg::VersionStartMatching);
    s += "\r\n";
    s += text(kind == VersionKind::Firmware ? text::msg::VersionFirmwareLabel
                                            : text::msg::VersionDataFileLabel);
    s += ' ';
    s += shownVersionText(firm);
    s += "\r\n";
    s += text(text::msg::VersionProgramLabel);
    s += ' ';
    s += shownVersionText(soft);
    return s;
}

StartResult StartMatchingVersion(const VersionTable& table, std::string_view firm,
                                 const InstallPaths& paths,
                                 const std::filesystem::path& executableName,
                                 ProgramLauncher& launcher, Prompt& prompt)
{
    const std::string soft = FindSoftForFirm(table, firm);
    if (soft.empty()) {
        Message message;
        message.textId = text::msg::VersionNoMatch;
        message.buttons = Buttons::Ok;
        prompt.ask(message);
        return StartResult::NoMatchingVersion;
    }
    const std::filesystem::path program = paths.programOfVersion(soft, executableName);
    std::error_code ec;
    if (!std::filesystem::exists(program, ec)) return StartResult::StartFailed;
    return launcher.start(program) ? StartResult::Started : StartResult::StartFailed;
}

bool modelEqual(std::string_view documentModel, std::string_view radioModel)
{
    return documentModel == radioModel;
}

bool bandEqualForTransfer(int documentBand, int radioBand, int transferKind)
{
    return transferKind != kTransferWrite || documentBand == radioBand;
}

bool bandGroupCompatible(int documentBand, int radioBand)
{
    const int documentGroup = (documentBand & 0xF8) / 8;
    const int radioGroup = (radioBand & 0xF8) / 8;
    return documentGroup <= 3 && documentGroup == radioGroup;
}

RadioCheck checkRadioIdentity(const VersionTable& table, std::string_view documentModel,
                              std::string_view radioModel, int documentBand, int radioBand,
                              int transferKind, std::string_view radioFirmware)
{
    const bool model = modelEqual(documentModel, radioModel);
    const bool band = bandEqualForTransfer(documentBand, radioBand, transferKind);
    const bool version = IsVersionCompatible(table, kOwnSoftVersion, radioFirmware);
    if (model && band && version) return RadioCheck::Proceed;
    if (!model) return RadioCheck::ModelDiffers;
    if (!version) return RadioCheck::VersionMismatch;
    return bandGroupCompatible(documentBand, radioBand) ? RadioCheck::BandAsk
                                                        : RadioCheck::BandRefused;
}

}  // namespace zt
