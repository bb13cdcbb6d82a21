#include "core/edit/infotool_rules.h"

#include <charconv>

namespace zt::infotool {

namespace {

constexpr Texts kEnglishTexts{
    "&Read",
    "&Write",
    "&MulWrite",
    "Stop &MulWrite",
    "Radio Count:",
    "Radio No.:",
    "Area Code",
    "Com Port:",
    {"Radio Type", "Frequency", "Serial Number", "Producted Date", "Maintained Date",
     "Maintained Description", "Version", "Manufacture Code", "User Code", "Dealer Code",
     "Stock Date", "Sell Date", "Seller", "Program PassWord"},
    "Dealer Information",
    {"DTMF", "Scramber", "Faint", "Kill", "Factory"},
    "Writting Data...",
    "Waitting next...",
    "Communication Error!",
    "Cannot Open Communication Port.",
    "Unkown operating system!",
    "Read Complete!",
    "Write Complete!",
    "MulWrite Complete!",
    "The chosen port could not be saved in this file:",
    "These fields are empty here, but the radio holds a value for them. Yes clears them on the "
    "radio, No keeps the radio's values, Cancel writes nothing:",
    "These dealer fields are left empty. On every radio of the batch: Yes clears them, No keeps "
    "the value each radio holds, Cancel starts nothing:",
};

constexpr Texts kChineseTexts{
    "读出(&R)",
    "写入(&W)",
    "写入多台(&M)",
    "停止写入多台(&M)",
    "写入台数：",
    "当前台数：",
    "销售区号",
    "串口选择:",
    {"机型", "频段", "序列号", "出厂日期", "维修日期", "维修原因", "固件版本", "生产批号",
     "客户代码", "经销商代码", "入库时间", "销售时间", "经手人", "写频密码"},
    "经销商信息",
    {"DTMF", "扰频", "遥晕", "遥毙", "工厂模式"},
    "正在写设置数据...",
    "请换下一台机器...",
    "通信错误！",
    "不能打开串口。",
    "未知操作系统",
    "读取完成！",
    "写入完成！",
    "批写入完成！",
    "无法将所选串口保存到此文件：",
    "以下项目在此为空，但电台中存有内容。“是”清除电台中的内容，“否”保留电台中的内容，“取消”不写入"
    "：",
    "以下经销商项目为空。对本批每台电台：“是”清除这些内容，“否”保留电台中的内容，“取消”不开始"
    "写入：",
};

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A whole decimal number made of digits only (an optional sign is refused).
std::optional<long long> wholeNumber(std::string_view s)
{
    if (s.empty() || s.size() > 9) return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size() || s.front() == '-') return std::nullopt;
    return value;
}

}  // namespace

const Texts& texts(int language)
{
    return language == kChinese ? kChineseTexts : kEnglishTexts;
}

int languageOfLocaleName(std::string_view localeName)
{
    // "zh_CN", "zh_CN.UTF-8", "zh_CN.GB18030@..." and the "zh-CN" spelling.
    if (localeName.size() >= 5 && localeName.substr(0, 2) == "zh" &&
        (localeName[2] == '_' || localeName[2] == '-') && localeName.substr(3, 2) == "CN" &&
        (localeName.size() == 5 || localeName[5] == '.' || localeName[5] == '@'))
        return kChinese;
    return kEnglish;
}

int languageFromEnvironment(const std::function<const char*(const char*)>& getenv)
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv ? getenv(name) : nullptr;
        if (value != nullptr && *value != '\0') return languageOfLocaleName(value);
    }
    return kEnglish;
}

int storedComPort(std::string_view value)
{
    const auto n = wholeNumber(trimmed(value));
    if (!n || *n > 32767) return 0;
    return static_cast<int>(*n);
}

std::string portEntry(int number)
{
    return "COM" + std::to_string(number);
}

int portOfEntry(std::string_view entry)
{
    if (entry.size() <= 3) return 0;
    const auto n = wholeNumber(trimmed(entry.substr(3)));
    if (!n || *n > 32767) return 0;
    return static_cast<int>(*n);
}

int startPort(int stored, const std::vector<int>& listed)
{
    if (listed.empty()) return 0;
    if (stored >= 1) {
        for (int n : listed)
            if (n == stored) return stored;
    }
    return listed.front();
}

std::optional<int> batchTotal(std::string_view countText)
{
    const auto n = wholeNumber(trimmed(countText));
    if (!n || *n < 1) return std::nullopt;
    return static_cast<int>(*n);
}

SerialKey serialKeyAction(char32_t ch)
{
    if (ch == '\r' || ch == '\n') return SerialKey::MoveOn;
    if (ch == 3 || ch == 22 || ch == 24) return SerialKey::Drop;  // Ctrl+C, Ctrl+V, Ctrl+X
    if (ch > 127) return SerialKey::Drop;
    if (ch >= 32 && ch < 127 && (ch < '0' || ch > '9')) return SerialKey::Drop;
    return SerialKey::Accept;
}

std::string maintenanceDateOnFocus(std::string_view current, std::string_view today)
{
    return std::string(current.empty() ? today : current);
}

std::string trimRight(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::string cutAtNul(std::string_view text)
{
    return std::string(text.substr(0, text.find('\0')));
}

}  // namespace zt::infotool
