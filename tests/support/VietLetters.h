// Every Vietnamese letter, small and capital, with its TCVN3 and VNI bytes, for the tests of the
// encodings and of converting drawings.
#pragma once

#include <utility>

namespace fendo::test
{

// Every Vietnamese letter in one tone row: the Unicode letters and, letter by
// letter, their TCVN3 bytes (small letters; the capitals font draws the same
// bytes as capitals) and their VNI bytes.
struct LetterRow {
    const wchar_t* letters;
    const char* tcvn3;  // one byte per letter, or null where TCVN3 has no byte for
                        // a capital
    const char* vni;    // letters separated by blanks
};

// Small letters: base, grave, hook, tilde, acute, dot below.
inline const LetterRow kSmall[] = {
    {L"aàảãáạ", "a\xB5\xB6\xB7\xB8\xB9", "a a\xF8 a\xFB a\xF5 a\xF9 a\xEF"},
    {L"ăằẳẵắặ", "\xA8\xBB\xBC\xBD\xBE\xC6", "a\xEA a\xE8 a\xFA a\xFC a\xE9 a\xEB"},
    {L"âầẩẫấậ", "\xA9\xC7\xC8\xC9\xCA\xCB", "a\xE2 a\xE0 a\xE5 a\xE3 a\xE1 a\xE4"},
    {L"eèẻẽéẹ", "e\xCC\xCE\xCF\xD0\xD1", "e e\xF8 e\xFB e\xF5 e\xF9 e\xEF"},
    {L"êềểễếệ", "\xAA\xD2\xD3\xD4\xD5\xD6", "e\xE2 e\xE0 e\xE5 e\xE3 e\xE1 e\xE4"},
    {L"iìỉĩíị", "i\xD7\xD8\xDC\xDD\xDE", "i \xEC \xE6 \xF3 \xED \xF2"},
    {L"oòỏõóọ", "o\xDF\xE1\xE2\xE3\xE4", "o o\xF8 o\xFB o\xF5 o\xF9 o\xEF"},
    {L"ôồổỗốộ", "\xAB\xE5\xE6\xE7\xE8\xE9", "o\xE2 o\xE0 o\xE5 o\xE3 o\xE1 o\xE4"},
    {L"ơờởỡớợ", "\xAC\xEA\xEB\xEC\xED\xEE", "\xF4 \xF4\xF8 \xF4\xFB \xF4\xF5 \xF4\xF9 \xF4\xEF"},
    {L"uùủũúụ", "u\xEF\xF1\xF2\xF3\xF4", "u u\xF8 u\xFB u\xF5 u\xF9 u\xEF"},
    {L"ưừửữứự", "\xAD\xF5\xF6\xF7\xF8\xF9", "\xF6 \xF6\xF8 \xF6\xFB \xF6\xF5 \xF6\xF9 \xF6\xEF"},
    {L"yỳỷỹýỵ", "y\xFA\xFB\xFC\xFD\xFE", "y y\xF8 y\xFB y\xF5 y\xF9 \xEE"},
    {L"đ", "\xAE", "\xF1"},
};

// Capitals: TCVN3 (plain fonts) has bytes only for the seven capitals without
// tone marks.
inline const LetterRow kCapitals[] = {
    {L"AÀẢÃÁẠ", "A\xB5\xB6\xB7\xB8\xB9", "A A\xD8 A\xDB A\xD5 A\xD9 A\xCF"},
    {L"ĂẰẲẴẮẶ", "\xA8\xBB\xBC\xBD\xBE\xC6", "A\xCA A\xC8 A\xDA A\xDC A\xC9 A\xCB"},
    {L"ÂẦẨẪẤẬ", "\xA9\xC7\xC8\xC9\xCA\xCB", "A\xC2 A\xC0 A\xC5 A\xC3 A\xC1 A\xC4"},
    {L"EÈẺẼÉẸ", "E\xCC\xCE\xCF\xD0\xD1", "E E\xD8 E\xDB E\xD5 E\xD9 E\xCF"},
    {L"ÊỀỂỄẾỆ", "\xAA\xD2\xD3\xD4\xD5\xD6", "E\xC2 E\xC0 E\xC5 E\xC3 E\xC1 E\xC4"},
    {L"IÌỈĨÍỊ", "I\xD7\xD8\xDC\xDD\xDE", "I \xCC \xC6 \xD3 \xCD \xD2"},
    {L"OÒỎÕÓỌ", "O\xDF\xE1\xE2\xE3\xE4", "O O\xD8 O\xDB O\xD5 O\xD9 O\xCF"},
    {L"ÔỒỔỖỐỘ", "\xAB\xE5\xE6\xE7\xE8\xE9", "O\xC2 O\xC0 O\xC5 O\xC3 O\xC1 O\xC4"},
    {L"ƠỜỞỠỚỢ", "\xAC\xEA\xEB\xEC\xED\xEE", "\xD4 \xD4\xD8 \xD4\xDB \xD4\xD5 \xD4\xD9 \xD4\xCF"},
    {L"UÙỦŨÚỤ", "U\xEF\xF1\xF2\xF3\xF4", "U U\xD8 U\xDB U\xD5 U\xD9 U\xCF"},
    {L"ƯỪỬỮỨỰ", "\xAD\xF5\xF6\xF7\xF8\xF9", "\xD6 \xD6\xD8 \xD6\xDB \xD6\xD5 \xD6\xD9 \xD6\xCF"},
    {L"YỲỶỸÝỴ", "Y\xFA\xFB\xFC\xFD\xFE", "Y Y\xD8 Y\xDB Y\xD5 Y\xD9 \xCE"},
    {L"Đ", "\xAE", "\xD1"},
};

// The plain TCVN3 font's bytes for the capitals without tone marks.
inline const std::pair<wchar_t, char> kTcvn3PlainCapitals[] = {
    {L'Ă', '\xA1'}, {L'Â', '\xA2'}, {L'Ê', '\xA3'}, {L'Ô', '\xA4'}, {L'Ơ', '\xA5'}, {L'Ư', '\xA6'}, {L'Đ', '\xA7'}};

}  // namespace fendo::test
