// Host commands converting Vietnamese texts of the open drawing: TOUNICODE from
// the 8-bit TCVN3 and VNI fonts to Unicode, TOTCVN3 back. "names" after the
// command name converts layer and block names too.
#include <cwctype>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/VietTextConversion.h"
#include "host/editor/AnswerGrammar.h"
#include "host/editor/Editor.h"
#include "host/editor/PromptCommands.h"
#include "host/editor/aced.h"
#include "host/editor/acedSS.h"

namespace fendo::editor
{
namespace
{

// The selected entities; empty with `all` set when the answer is Enter (every
// text is converted).
bool selectTexts(std::vector<AcDbObjectId>& ids, bool& all)
{
    ads_name ss;
    const int status = acedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
    if (status == RTCAN) return false;
    all = status != RTNORM;
    if (all) return true;
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(ss, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk) ids.push_back(id);
    }
    acedSSFree(ss);
    return true;
}

void convertCommand(std::wstring_view argument, viet::Direction direction)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    std::wstring word(trimBlanks(argument));
    for (wchar_t& c : word)
        c = static_cast<wchar_t>(std::towlower(c));
    if (!word.empty() && word != L"names") {
        editor().write(L"\nExpected nothing or \"names\" after the command, found \"" + std::wstring(argument) +
                       L"\".");
        return;
    }
    editor().write(L"\nSelect texts to convert (Enter for all of them).");
    std::vector<AcDbObjectId> ids;
    bool all = true;
    if (!selectTexts(ids, all)) return;
    const auto names = word == L"names" ? viet::NameScope::TextsAndNames : viet::NameScope::TextsOnly;
    const viet::ConversionReport report =
        viet::convertDrawing(*db, direction, names, fonts::VietFontTable::installed(), all ? nullptr : &ids);
    editor().write(L"\n" + report.describe(direction));
}

[[maybe_unused]] const bool kVietCommandsRegistered = [] {
    registerPromptCommand(L"TOUNICODE", L"converts TCVN3 and VNI texts to Unicode: TOUNICODE [names]",
                          [](std::wstring_view arg) { convertCommand(arg, viet::Direction::ToUnicode); });
    registerPromptCommand(L"TOTCVN3", L"converts Unicode Vietnamese texts to TCVN3: TOTCVN3 [names]",
                          [](std::wstring_view arg) { convertCommand(arg, viet::Direction::ToTcvn3); });
    return true;
}();

}  // namespace
}  // namespace fendo::editor
