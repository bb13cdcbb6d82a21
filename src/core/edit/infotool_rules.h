#pragma once

// Rules of the radio information tool that need no window: its built-in
// English and Chinese texts, the language of the system locale, the COM-port
// choice, the batch count and the serial-number field's key filter.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zt::infotool {

constexpr int kEnglish = 1;
constexpr int kChinese = 2;

constexpr int kFieldLabelCount = 14;
constexpr int kOptionCount = 5;

// The tool's own texts (UTF-8), one set per language.
struct Texts {
    std::string_view read;                                       // Command1
    std::string_view write;                                      // Command2
    std::string_view mulWrite;                                   // Command4 while idle
    std::string_view stopMulWrite;                               // Command4 while a batch runs
    std::string_view radioCount;                                 // label of Text2(0)
    std::string_view radioNo;                                    // label of Text2(1)
    std::string_view areaCode;                                   // label of Text1(0)
    std::string_view comPort;                                    // label of Combo2
    std::array<std::string_view, kFieldLabelCount> fieldLabels;  // Label1(0..13)
    std::string_view dealerFrame;                                // Frame2
    std::array<std::string_view, kOptionCount> options;          // Check1..Check5
    std::string_view writingBatch;  // status while a radio of a batch is written
    std::string_view waitingNext;   // status while waiting for the next radio
    std::string_view communicationError;
    std::string_view cannotOpenPort;
    std::string_view unknownOs;
    std::string_view readComplete;
    std::string_view writeComplete;
    std::string_view mulWriteComplete;
    std::string_view portNotSaved;  // the settings file follows
    // Before a write: dealer fields left empty that the radio holds (the list follows;
    // Yes clears, No keeps the radio's values, Cancel writes nothing).
    std::string_view clearHeldFields;
    // Before a batch: dealer fields the user emptied (the list follows; Yes clears them on
    // every radio, No keeps each radio's own values, Cancel starts nothing).
    std::string_view keepEmptiedFieldsInBatch;
};

// kChinese gives the Chinese texts, anything else the English ones.
const Texts& texts(int language);

// The window's caption, the same in both languages.
constexpr std::string_view kCaption = "ZTP958FMSetO";

// kChinese for a locale name of Chinese (PRC), such as "zh_CN.UTF-8"; else kEnglish.
int languageOfLocaleName(std::string_view localeName);
// The language of the system locale: the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty. `getenv` is std::getenv in the program.
int languageFromEnvironment(const std::function<const char*(const char*)>& getenv);

// The stored `comPort` value: a missing or non-numeric value counts as 0.
int storedComPort(std::string_view value);
// The entry "COM" + number of the port list.
std::string portEntry(int number);
// The port number of a list entry: the text after its first three characters;
// 0 when that is not a number.
int portOfEntry(std::string_view entry);
// The port chosen at start: 0 when no port is listed; the stored port when it
// is listed; otherwise the first listed port.
int startPort(int stored, const std::vector<int>& listed);

// The total of a batch from the count field: a whole number of 1 or more
// (surrounding spaces allowed); nothing when the field is empty or not a number.
std::optional<int> batchTotal(std::string_view countText);

// What a typed character does in the serial-number field.
enum class SerialKey {
    Accept,  // digits, and control characters such as Backspace
    Drop,    // other printable characters, characters above 127, Ctrl+C/V/X
    MoveOn,  // Enter: focus moves to the next field
};
// `ch` is the character typed (Unicode); Ctrl+C, Ctrl+V and Ctrl+X arrive as
// 3, 22 and 24.
SerialKey serialKeyAction(char32_t ch);

// The text of the maintenance-date field when it gets the focus: today's date
// when it is empty, else unchanged.
std::string maintenanceDateOnFocus(std::string_view current, std::string_view today);

// Text without trailing spaces.
std::string trimRight(std::string_view text);
// Text up to, not including, its first NUL.
std::string cutAtNul(std::string_view text);

}  // namespace zt::infotool
