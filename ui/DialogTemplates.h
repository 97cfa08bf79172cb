// The module's dialog templates: ids, captions, controls and their stored TCVN3 texts.
#pragma once

#include "host/dialogs/DialogTemplate.h"

#include <vector>

namespace fendo::ui {

// Template ids, named after the dialog class that uses them.
inline constexpr int kTemplateAboutDlg = 100;
inline constexpr int kTemplateEditTextDlg = 148;
inline constexpr int kTemplateDlgOffset3DPoly = 150;
inline constexpr int kTemplateDlgHieuChinhTaluy2 = 151;  // slope symbol with toe
inline constexpr int kTemplateVeTaluyDlg = 153;
inline constexpr int kTemplatePointDisplayDlg = 158;  // "HCD"
inline constexpr int kTemplateDlgTestHatch = 164;
inline constexpr int kTemplateDlgThemTienToHauTo = 166;
inline constexpr int kTemplateDlgEditLine = 168;
inline constexpr int kTemplateSampleLogDlg = 169;        // "RM" parameters
inline constexpr int kTemplateDlgHieuChinhTaluy1 = 197;  // slope symbol without toe
inline constexpr int kTemplateCDlgHieuChinh = 238;
inline constexpr int kTemplateEditTextDlgD = 240;

// Image ids.
inline constexpr int kBitmapAbout = 101;         // 800 x 566, 24-bit
inline constexpr int kIconPreviousVertex = 240;  // CDlgHieuChinh button 1280
inline constexpr int kIconNextVertex = 241;      // CDlgHieuChinh button 1281

// Buttons that accept and dismiss a dialog (Enter and Escape).
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

// Control ids chosen by the module where none is fixed elsewhere.
inline constexpr int kAboutPicture = 1100;  // about dialog picture
// DlgEditLine's radio buttons, in anchor order 0, 1, 2 (left, middle, right).
inline constexpr int kAnchorLeftRadio = 1101;
inline constexpr int kAnchorMiddleRadio = 1102;
inline constexpr int kAnchorRightRadio = 1103;
// Labels that no code addresses get ids from here up within each template.
inline constexpr int kFirstLabelId = 1110;

// Every dialog template of the module.
std::vector<DialogTemplate> moduleDialogTemplates();

}  // namespace fendo::ui
