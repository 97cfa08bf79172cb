// Vietnamese as the user reads it: the stored TCVN3 texts decode to correct spelling (the letter
// "ư" included), and the commands' own literal messages are decoded like the string table.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "frame/Tcvn3.h"
#include "host/editor/Utf8.h"
#include "support/TestSupport.h"
#include "ui/DialogTemplates.h"
#include "ui/StringTable.h"

using namespace fendo::test;

namespace {

std::string decoded(const char* stored) { return fendo::editor::toUtf8(DecodeTcvn3Text(stored)); }

std::string stringEntry(int id)
{
    const char* stored = fendo::ui::findStringTableEntry(id);
    return stored ? decoded(stored) : "(missing)";
}

// Every stored text of the string table and the dialog templates, decoded.
std::vector<std::wstring> everyStoredText()
{
    std::vector<std::wstring> texts;
    for (const auto& entry : fendo::ui::stringTable()) texts.push_back(DecodeTcvn3Text(entry.text));
    for (const DialogTemplate& dialog : fendo::ui::moduleDialogTemplates()) {
        texts.push_back(DecodeTcvn3Text(dialog.caption));
        for (const ControlTemplate& control : dialog.controls) {
            texts.push_back(DecodeTcvn3Text(control.text));
            for (const char* item : control.items) texts.push_back(DecodeTcvn3Text(item));
        }
    }
    return texts;
}

}  // namespace

TEST(VietnameseText, RestoredWordsDecodeAsTheyAreSpelt)
{
    const std::vector<std::pair<int, std::string>> entries{
        {2, "\n<Chọn đối tượng text hoặc điểm, polyline,3dPoly để thay đổi cao độ>/Undo :"},
        {5, "Hiệu chỉnh giá trị kích thước"},
        {23, "\nChọn đường 3dpolyline:"},
        {24, "\nĐiểm hướng chèn:"},
        {27, "\nChọn đối tượng cần tắt lớp:"},
        {28, "Không chọn được đối tượng!"},
        {29, "Không mở được lớp!"},
        {30, "\nChọn đối tượng cần xoá theo lớp:"},
        {31, "\nChọn đối tượng :"},
        {44, "Đỉnh trước đó"},
        {55, "\nChọn đường pline,3dpoly cần xuất tọa đô:"},
        {56, "\nChọn các đường cần đảo chiều:"},
        {59, "\nChọn đường pline,2d,3d cần thêm điểm:"},
        {62, "\nChọn đường pline,2d,3d cần loại điểm:"},
        {65, "\nBán kính đường tròn đánh dấu các đỉnh của pline<%.2f>:"},
        {66, "\nChọn các đường pline,3dpoly cần đánh dấu node:"},
        {67, "\nChọn các đường pline cần kiểm tra cắt nhau:"},
        {68, "\nChọn đường pline cần thay:"},
        {70, "\nChọn đối tượng cần chia:"},
        {72, "\nChọn các đường pline cần xuất chiều dài:"},
    };
    for (const auto& [id, text] : entries) EXPECT_EQ(stringEntry(id), text) << "string " << id;

    std::set<std::string> labels;
    for (const DialogTemplate& dialog : fendo::ui::moduleDialogTemplates())
        for (const ControlTemplate& control : dialog.controls) labels.insert(decoded(control.text));
    for (const char* label :
         {"Bước vạch lớn", "Khoảng cách mép chân đường", "Số bước trong một khoảng chia", "Độ rộng đường vẽ tam giác"})
        EXPECT_TRUE(labels.count(label)) << label;
}

// Vietnamese has no rhyme "ơng", "ơc" or "ơu" (each is "ương", "ươc", "ươu"): an "ơ" there means
// the "ư" before it was lost.
TEST(VietnameseText, NoStoredTextHasLostItsLetterU)
{
    const std::wregex lost(L"(^|[^ư])[ơờởỡớợ](ng|c|u)");
    for (const std::wstring& text : everyStoredText())
        EXPECT_FALSE(std::regex_search(text, lost)) << fendo::editor::toUtf8(text);
}

TEST(VietnameseText, LayerEraseMessagesAreDecoded)
{
    const RunResult run = runFendo({(sourceDir() / "samples" / "road-survey.dxf").string()}, "44\n5,-27.5\nok\n");
    EXPECT_NE(run.output.find("Co chac chan xoa \"TAM_THOI\" không ?"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("da xoa duoc 5 doi tuong lớp TAM_THOI !"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Chọn đối tượng cần xoá theo lớp:"), std::string::npos) << run.output;
}
