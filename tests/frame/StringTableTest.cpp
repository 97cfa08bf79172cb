// The module's string table and prompt loading.
#include "ui/StringTable.h"
#include "frame/Prompts.h"
#include "frame/Tcvn3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

// A decoded text is fit for the user when it holds no control character other than a line break:
// a C1 control (U+0080..U+009F) means a stored byte had no letter behind it.
bool isDisplayable(const std::wstring& text)
{
    for (const wchar_t ch : text) {
        if (ch < 0x20 && ch != L'\n')
            return false;
        if (ch >= 0x7F && ch <= 0x9F)
            return false;
    }
    return true;
}

TEST(StringTable, EveryEntryDecodesToDisplayableTextThatFitsThePromptBuffer)
{
    std::set<int> ids;
    for (const auto& entry : fendo::ui::stringTable()) {
        SCOPED_TRACE(entry.id);
        EXPECT_GE(entry.id, 2);
        EXPECT_LE(entry.id, 74);
        EXPECT_TRUE(ids.insert(entry.id).second);
        EXPECT_LT(std::strlen(entry.text), 256u);  // LoadPrompt would cut it otherwise
        const std::wstring text = LoadPrompt(entry.id);
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(isDisplayable(text)) << std::string(entry.text);
        EXPECT_EQ(EncodeTcvn3Text(text), entry.text);
    }
    EXPECT_EQ(ids.size(), 64u);
}

TEST(StringTable, PromptsDecodeToTheirVietnameseText)
{
    EXPECT_EQ(LoadPrompt(33), L"\nCh\u1ECDn polyline:");
    EXPECT_EQ(LoadPrompt(45), L"G\u00F3c");
    EXPECT_EQ(LoadPrompt(46), L"Kho\u1EA3ng c\u00E1ch");
    EXPECT_EQ(LoadPrompt(71), L"\n\u0110i\u1EC3m chia:");
    EXPECT_EQ(LoadPrompt(74), L"\n\u0110i\u1EC3m \u0111\u1EB7t b\u1EA3ng:");
    EXPECT_EQ(LoadPrompt(41), L"Joint Text va Point");
    // The radius prompt is a format: its placeholder must come through untouched.
    EXPECT_NE(LoadPrompt(65).find(L"<%.2f>:"), std::wstring::npos);
}

TEST(StringTable, UnknownIdsLoadAsEmptyText)
{
    for (const int id : {-1, 0, 1, 7, 54, 75, 1000}) {
        EXPECT_EQ(fendo::ui::findStringTableEntry(id), nullptr) << id;
        EXPECT_EQ(LoadPrompt(id), L"") << id;
    }
}

}  // namespace
