// The module's dialog templates and resource module.
#include "ui/DialogTemplates.h"
#include "frame/Tcvn3.h"
#include "host/dialogs/ResourceModule.h"
#include "ui/ModuleResources.h"
#include "ui/StringTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using namespace fendo::ui;

bool isDisplayable(const std::wstring& text)
{
    for (const wchar_t ch : text)
        if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F))
            return false;
    return true;
}

bool isLocalised(ControlKind kind)
{
    const std::string windowClass = windowClassOf(kind);
    return windowClass == "Button" || windowClass == "Static";
}

TEST(DialogTemplates, ControlIdsAreUniqueAndTextsSurviveLocalisation)
{
    std::set<int> templateIds;
    for (const DialogTemplate& dialog : moduleDialogTemplates()) {
        SCOPED_TRACE(dialog.id);
        EXPECT_TRUE(templateIds.insert(dialog.id).second);
        EXPECT_GT(dialog.width, 0);
        EXPECT_GT(dialog.height, 0);
        // Localisation reads the caption into 64 bytes and control texts into 128.
        EXPECT_LT(std::strlen(dialog.caption), 64u);
        EXPECT_TRUE(isDisplayable(DecodeTcvn3Text(dialog.caption)));
        std::set<int> controlIds;
        for (const ControlTemplate& control : dialog.controls) {
            SCOPED_TRACE(control.id);
            EXPECT_TRUE(controlIds.insert(control.id).second);
            EXPECT_LT(std::strlen(control.text), 128u);
            EXPECT_TRUE(isDisplayable(DecodeTcvn3Text(control.text)));
            if (!isLocalised(control.kind)) {
                EXPECT_STREQ(control.text, "") << "text that localisation would leave undecoded";
            }
            for (const char* item : control.items)
                EXPECT_TRUE(isDisplayable(DecodeTcvn3Text(item)));
            const auto& r = control.rect;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= dialog.width) << "outside the dialog";
        }
    }
    EXPECT_EQ(templateIds, (std::set<int>{100, 148, 150, 151, 153, 158, 164, 166, 168, 169, 197, 238, 240}));
}

TEST(DialogTemplates, AcceptAndDismissButtonsAreWhereTheDialogsNeedThem)
{
    const ResourceModule& resources = moduleResources();
    struct Case {
        int templateId;
        bool hasOk;
        bool hasCancel;
    };
    const Case cases[] = {
        {kTemplateDlgOffset3DPoly, true, true},     {kTemplateVeTaluyDlg, true, true},
        {kTemplateDlgTestHatch, true, true},        {kTemplateDlgThemTienToHauTo, true, true},
        {kTemplateDlgEditLine, true, true},         {kTemplateSampleLogDlg, true, true},
        {kTemplateEditTextDlg, true, true},         {kTemplateEditTextDlgD, true, true},
        {kTemplateCDlgHieuChinh, true, true},       {kTemplateDlgHieuChinhTaluy1, true, false},
        {kTemplateDlgHieuChinhTaluy2, true, false}, {kTemplatePointDisplayDlg, true, false},
        {kTemplateAboutDlg, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templateId);
        const DialogTemplate* dialog = resources.findDialog(c.templateId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findControl(kOkButton) != nullptr, c.hasOk);
        EXPECT_EQ(dialog->findControl(kCancelButton) != nullptr, c.hasCancel);
        if (c.hasOk) {
            EXPECT_EQ(dialog->findControl(kOkButton)->kind, ControlKind::DefPushButton);
        }
    }
}

TEST(DialogTemplates, SlopeEditingDialogsShowTheFieldsOfTheirKind)
{
    const ResourceModule& resources = moduleResources();
    const DialogTemplate* noToe = resources.findDialog(kTemplateDlgHieuChinhTaluy1);
    const DialogTemplate* withToe = resources.findDialog(kTemplateDlgHieuChinhTaluy2);
    ASSERT_TRUE(noToe && withToe);
    for (const int id : {1033, 1019, 1022, 1009, 1010, 1011, 1014, 1020, 1034, 1035, 1042, 1007}) {
        EXPECT_NE(noToe->findControl(id), nullptr) << id;
        EXPECT_NE(withToe->findControl(id), nullptr) << id;
    }
    for (const int id : {1036, 1013, 1039}) {
        EXPECT_NE(noToe->findControl(id), nullptr) << id;
        EXPECT_EQ(withToe->findControl(id), nullptr) << id;
    }
    for (const int id : {1006, 1012}) {
        EXPECT_EQ(noToe->findControl(id), nullptr) << id;
        EXPECT_NE(withToe->findControl(id), nullptr) << id;
    }
    // Check box 1020 is the reversal switch without toe, the long-tick switch with toe.
    EXPECT_EQ(DecodeTcvn3Text(noToe->findControl(1020)->text), L"\u0110\u1EA3o chi\u1EC1u Taluy");
    EXPECT_EQ(DecodeTcvn3Text(withToe->findControl(1020)->text), L"Th\u1EC3 hi\u1EC7n v\u1EA1"
                                                                 "ch d\u00E0i");
    EXPECT_STREQ(withToe->findControl(1020)->text, noToe->findControl(1039)->text);
    EXPECT_TRUE(hasStyle(withToe->findControl(1020)->style, ControlStyle::Disabled));
    EXPECT_EQ(withToe->findControl(1033)->items.size(), 2u);
}

TEST(ModuleResources, ReferencedImagesAndToolTipsExist)
{
    const ResourceModule& resources = moduleResources();
    for (const DialogTemplate& dialog : moduleDialogTemplates())
        for (const ControlTemplate& control : dialog.controls) {
            if (control.imageId != 0) {
                EXPECT_NE(resources.findImage(control.imageId), nullptr) << control.id;
            }
            if (control.tooltipStringId != 0) {
                EXPECT_NE(resources.findString(control.tooltipStringId), nullptr) << control.id;
            }
        }
    const ImageResource* about = resources.findImage(kBitmapAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->width, 800);
    EXPECT_EQ(about->height, 566);
}

TEST(ModuleResources, LoadStringCutsToTheBufferAndTerminates)
{
    const ResourceModule& resources = moduleResources();
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(resources.loadString(33, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "\nCh\xE4n");
    EXPECT_EQ(resources.loadString(54, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(resources.loadString(33, buffer, 0), 0);
}

TEST(ResourceStack, TheLastPushedModuleIsCurrentUntilPopped)
{
    ResourceModule other("Other.arx");
    EXPECT_EQ(currentResourceModule(), nullptr);
    popResourceModule();  // popping an empty stack is harmless
    pushResourceModule(&moduleResources());
    pushResourceModule(&other);
    EXPECT_EQ(currentResourceModule(), &other);
    EXPECT_EQ(currentResourceModule()->findDialog(kTemplateDlgTestHatch), nullptr);
    popResourceModule();
    ASSERT_EQ(currentResourceModule(), &moduleResources());
    EXPECT_EQ(currentResourceModule()->findDialog(kTemplateDlgTestHatch)->width, 259);
    popResourceModule();
    EXPECT_EQ(currentResourceModule(), nullptr);
}

}  // namespace
