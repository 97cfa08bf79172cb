// Conversions between the module's stored Vietnamese texts (8-bit TCVN3, as kept in its string table
// and dialog templates) and 16-bit Unicode units, plus wide-string conveniences for host calls.
#pragma once

#include <memory>
#include <string>
#include <string_view>

// Length argument meaning "up to the terminating 0".
inline constexpr int kTcvn3WholeText = -1;

// Decodes 8-bit TCVN3 text to 16-bit units. Reads at most `length` bytes (kTcvn3WholeText: up to the
// terminating 0) and stops early at a 0 byte. Byte 0x01 is followed by one little-endian 16-bit unit,
// byte 0x02 by one byte taken sign-extended. Returns a new 0-terminated string of at most length + 1
// units, or null when `text` is null.
std::unique_ptr<char16_t[]> DecodeTcvn3(const char* text, int length = kTcvn3WholeText);

// Encodes 16-bit units to 8-bit TCVN3: the Vietnamese letters of the code page get their byte, every
// other unit keeps its low 8 bits (so capitals with tone marks do not survive). Same length and null
// rules as DecodeTcvn3; the result holds at most length + 1 bytes.
std::unique_ptr<char[]> EncodeTcvn3(const char16_t* text, int length = kTcvn3WholeText);

// Decodes stored bytes (up to the first 0, if any) into text for host calls taking const ACHAR*.
std::wstring DecodeTcvn3Text(std::string_view tcvn3);

// Encodes wide text into stored TCVN3 bytes (up to the first 0, if any).
std::string EncodeTcvn3Text(std::wstring_view text);
