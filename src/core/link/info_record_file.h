#pragma once

// The information record as a small text file, so a dealer's script can keep
// what a radio's information read gave and hand the dealer fields to a write.
// The file is one JSON object whose values are all strings:
//
//     {
//       "serial_number": "2026120900000001",
//       "dealer_code": "DL-7",
//       ...
//     }
//
// Texts hold one byte per character: bytes 0x80-0xFF are written as the
// characters U+0080-U+00FF, and a character above U+00FF is refused.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/link/info_block.h"

namespace zt {

// The field names, in the order a file lists them.
const std::vector<std::string>& infoFileFieldNames();
// The fields the information tool writes to a radio.
const std::vector<std::string>& infoFileWritableFields();

// Name -> text of every field of `record` that a file holds.
std::map<std::string, std::string> infoFileFields(const InfoToolRecord& record);
// Sets the named field of `record`; false for an unknown name.
bool setInfoFileField(InfoToolRecord& record, std::string_view name, const std::string& value);

// The file's text for `fields` (names of infoFileFieldNames() in their order).
std::string writeInfoFile(const std::map<std::string, std::string>& fields);

struct InfoFileParse {
    std::map<std::string, std::string> fields;
    std::string error;  // empty when the text was read; otherwise what is wrong and where
};
// Reads a file's text. Only the known field names are accepted, each once.
InfoFileParse parseInfoFile(std::string_view text);

}  // namespace zt
