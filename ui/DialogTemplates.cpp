// The module's dialog templates. Texts are TCVN3 bytes written as escapes so the file stays ASCII; the
// comment beside a text spells it without diacritics. Sizes and positions are in dialog units.
#include "ui/DialogTemplates.h"

#include <utility>

namespace fendo::ui {

namespace {

// clang-format off
// Nhap gia tri offset 3dPolyline
constexpr const char* kTextOffsetCaption = "Nh\xCBp gi\xB8 tr\xDE offset 3dPolyline";
constexpr const char* kTextAngleMode = "Nh\xCBp g\xE3" "c v\xB5 ch\xAAnh cao";  // Nhap goc va chenh cao
// Nhap khoang cach va chenh cao
constexpr const char* kTextDistanceMode = "Nh\xCBp kho\xB6ng c\xB8" "ch v\xB5 ch\xAAnh cao";
constexpr const char* kTextAngle = "G\xE3" "c";  // Goc
constexpr const char* kTextHeightDifference = "Ch\xAAnh cao";  // Chenh cao
constexpr const char* kTextDrawSlopeCaption = "V\xCF Taluy";  // Ve Taluy
constexpr const char* kTextEditSlopeCaption = "Hi\xD6u ch\xD8nh Taluy";  // Hieu chinh Taluy
constexpr const char* kTextLongTickStep = "B\xAD\xED" "c v\xB9" "ch l\xEDn";  // Buoc vach lon
constexpr const char* kTextSmallTickCount = "S\xE8 v\xB9" "ch nh\xE1";  // So vach nho
constexpr const char* kTextDraw = "V\xCF";  // Ve
constexpr const char* kTextSkip = "B\xE1 qua";  // Bo qua
constexpr const char* kTextDisplayForm = "D\xB9ng hi\xD3n th\xDE";  // Dang hien thi
constexpr const char* kTextTickLines = "K\xCE";  // Ke
constexpr const char* kTextTriangles = "Tam gi\xB8" "c";  // Tam giac
constexpr const char* kTextShort = "ng\xBEn";  // ngan
constexpr const char* kTextLong = "D\xB5i";  // Dai
constexpr const char* kTextLongTickLength = "D\xB5i v\xB9" "ch l\xEDn";  // Dai vach lon
constexpr const char* kTextShortTickLength = "D\xB5i v\xB9" "ch nh\xE1";  // Dai vach nho
// Khoang cach mep chan duong
constexpr const char* kTextToeClearance = "Kho\xB6ng c\xB8" "ch m\xD0p ch\xA9n \xAE\xAD\xEAng";
constexpr const char* kTextDivisionLength = "\xA7\xE9 d\xB5i kho\xB6ng chia";  // Do dai khoang chia
// So vach lon lay tiep tuyen
constexpr const char* kTextLongPerTangent = "S\xE8 v\xB9" "ch l\xEDn l\xCAy ti\xD5p tuy\xD5n";
// So buoc trong mot khoang chia
constexpr const char* kTextStepsPerDivision = "S\xE8 b\xAD\xED" "c trong m\xE9t kho\xB6ng chia";
// Ty le giua vach ngan,vach dai 
constexpr const char* kTextShortRatio = "T\xFB l\xD6 gi\xF7" "a v\xB9" "ch ng\xBEn,v\xB9" "ch d\xB5i ";
// Do rong duong ve tam giac
constexpr const char* kTextTriangleWidth = "\xA7\xE9 r\xE9ng \xAE\xAD\xEAng v\xCF tam gi\xB8" "c";
constexpr const char* kTextReversed = "\xA7\xB6o chi\xD2u Taluy";  // Dao chieu Taluy
constexpr const char* kTextShowLongTicks = "Th\xD3 hi\xD6n v\xB9" "ch d\xB5i";  // The hien vach dai
constexpr const char* kTextPickPolyline = "Ch\xE4n pline..";  // Chon pline..
constexpr const char* kTextTrimLong = "Trim v\xB9" "ch d\xB5i theo polyline";  // Trim vach dai theo polyline
// Trim vach ngan theo polyline
constexpr const char* kTextTrimShort = "Trim v\xB9" "ch ng\xBEn theo polyline";
constexpr const char* kTextUpdate = "C\xCBp nh\xCBt";  // Cap nhat
constexpr const char* kTextPickSlopes = "Ch\xE4n Taluy";  // Chon Taluy
constexpr const char* kTextFinish = "K\xD5t th\xF3" "c";  // Ket thuc
constexpr const char* kTextPointDisplayCaption = "Hi\xD6u ch\xD8nh";  // Hieu chinh
constexpr const char* kTextChangeTextHeight = "Thay \xAE\xE6i cao ch\xF7";  // Thay doi cao chu
constexpr const char* kTextChangeRotation = "Thay \xAE\xE6i g\xE3" "c quay";  // Thay doi goc quay
constexpr const char* kTextChangeColour = "Thay \xAE\xE6i m\xB5u";  // Thay doi mau
constexpr const char* kTextPickPoints = "Ch\xE4n \xAEi\xD3m -->";  // Chon diem -->
constexpr const char* kTextSampleLogCaption = "Tham so ve ranh mau";
constexpr const char* kTextTextHeight = "Cao ch\xF7";  // Cao chu
constexpr const char* kTextRowHeight = "Cao h\xB5ng";  // Cao hang
constexpr const char* kTextColumnWidth = "R\xE9ng c\xE9t";  // Rong cot
constexpr const char* kTextEditTextCaption = "Hi\xD6u ch\xD8nh text";  // Hieu chinh text
constexpr const char* kTextToCapitals = "Chuy\xD3n th\xB5nh ch\xF7 hoa";  // Chuyen thanh chu hoa
constexpr const char* kTextAccept = "Ch\xCAp nh\xCBn";  // Chap nhan
constexpr const char* kTextDismiss = "H\xF1y b\xE1";  // Huy bo
constexpr const char* kTextFeatureCode = "M\xB7 \xAE\xDE" "a v\xCBt";  // Ma dia vat
constexpr const char* kTextVertexCaption = "Hi\xD6u ch\xD8nh cao \xAE\xE9";  // Hieu chinh cao do
constexpr const char* kTextDistance = "Kho\xB6ng c\xB8" "ch";  // Khoang cach
constexpr const char* kTextSlope = "\xA7\xE9 d\xE8" "c";  // Do doc
constexpr const char* kTextClose = "&Tho\xB8t";  // &Thoat
constexpr const char* kTextPrefixSuffixCaption = "S\xF6" "a text";  // Sua text
constexpr const char* kTextPrefix = "Ti\xD2n t\xE8";  // Tien to
constexpr const char* kTextSuffix = "H\xCBu t\xE8";  // Hau to
constexpr const char* kTextLineLengthCaption = "THay \xAE\xE6i chi\xD2u d\xB5i";  // THay doi chieu dai
constexpr const char* kTextSegmentLength = "Chi\xD2u d\xB5i \xAEo\xB9n th\xBCng";  // Chieu dai doan thang
constexpr const char* kTextAlignLeft = "C\xA8n tr\xB8i";  // Can trai
constexpr const char* kTextAlignMiddle = "C\xA8n gi\xF7" "a";  // Can giua
constexpr const char* kTextAlignRight = "C\xA8n ph\xB6i";  // Can phai
constexpr const char* kTextAboutCaption = "About KVO";
constexpr const char* kTextHatchCaption = "Dialog";
constexpr const char* kTextOk = "OK";
constexpr const char* kTextCancel = "Cancel";
// clang-format on

constexpr int kButtonWidth = 55;
constexpr int kButtonHeight = 14;
constexpr int kEditHeight = 12;
constexpr int kLabelHeight = 8;
constexpr int kCheckHeight = 10;
constexpr int kDropHeight = 80;  // combo boxes: closed height plus the dropped list

ControlTemplate control(ControlKind kind, int id, const char* text, DialogRect rect,
                        ControlStyle style = ControlStyle::None)
{
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.text = text;
    c.rect = rect;
    c.style = style;
    return c;
}

ControlTemplate edit(int id, DialogRect rect, ControlStyle style = ControlStyle::None)
{
    return control(ControlKind::Edit, id, "", rect, style);
}

// Builds a template and hands out ids to labels that no code addresses.
class TemplateBuilder {
public:
    TemplateBuilder(int id, const char* caption, int width, int height)
    {
        mDialog.id = id;
        mDialog.caption = caption;
        mDialog.width = width;
        mDialog.height = height;
    }

    int width() const { return mDialog.width; }

    TemplateBuilder& add(ControlTemplate c)
    {
        mDialog.controls.push_back(std::move(c));
        return *this;
    }

    TemplateBuilder& label(const char* text, DialogRect rect)
    {
        return add(control(ControlKind::Label, mNextLabelId++, text, rect));
    }

    // A label on the left and an edit box on the right of one row.
    TemplateBuilder& labelledEdit(const char* text, int editId, int y, int labelWidth, int editWidth,
                                  ControlStyle editStyle = ControlStyle::None)
    {
        label(text, {10, y + 2, labelWidth, kLabelHeight});
        return add(edit(editId, {15 + labelWidth, y, editWidth, kEditHeight}, editStyle));
    }

    // The accept and dismiss buttons side by side, centred on the dialog.
    TemplateBuilder& okCancel(const char* okText, const char* cancelText, int y)
    {
        const int left = (mDialog.width - 2 * kButtonWidth - 10) / 2;
        add(control(ControlKind::DefPushButton, kOkButton, okText, {left, y, kButtonWidth, kButtonHeight}));
        return add(control(ControlKind::PushButton, kCancelButton, cancelText,
                           {left + kButtonWidth + 10, y, kButtonWidth, kButtonHeight}));
    }

    DialogTemplate build() { return std::move(mDialog); }

private:
    DialogTemplate mDialog;
    int mNextLabelId = kFirstLabelId;
};

DialogTemplate aboutDialog()
{
    ControlTemplate picture = control(ControlKind::Picture, kAboutPicture, "", {0, 0, 533, 342});
    picture.imageId = kBitmapAbout;
    return TemplateBuilder(kTemplateAboutDlg, kTextAboutCaption, 533, 342).add(std::move(picture)).build();
}

DialogTemplate offset3DPolyDialog()
{
    TemplateBuilder b(kTemplateDlgOffset3DPoly, kTextOffsetCaption, 220, 110);
    b.add(control(ControlKind::RadioButton, 1033, kTextAngleMode, {10, 8, 200, kCheckHeight},
                  ControlStyle::GroupStart));
    b.add(control(ControlKind::RadioButton, 1034, kTextDistanceMode, {10, 22, 200, kCheckHeight}));
    // Label 1035 is retitled by the radio buttons, so it has an id of its own.
    b.add(
        control(ControlKind::Label, 1035, kTextAngle, {10, 42, 70, kLabelHeight}, ControlStyle::GroupStart));
    b.add(edit(1036, {85, 40, 125, kEditHeight}));
    b.labelledEdit(kTextHeightDifference, 1037, 58, 70, 125);
    return b.okCancel(kTextOk, kTextCancel, 86).build();
}

DialogTemplate drawSlopeDialog()
{
    TemplateBuilder b(kTemplateVeTaluyDlg, kTextDrawSlopeCaption, 180, 80);
    b.labelledEdit(kTextLongTickStep, 1006, 10, 80, 70);
    b.labelledEdit(kTextSmallTickCount, 1007, 28, 80, 70);
    return b.okCancel(kTextDraw, kTextSkip, 56).build();
}

enum class SlopeKind { WithoutToe, WithToe };

// The two slope editing dialogs share most rows; each kind shows the fields that apply to it.
DialogTemplate editSlopeDialog(SlopeKind kind)
{
    const bool noToe = kind == SlopeKind::WithoutToe;
    const int width = 270;
    const int labelWidth = 160;
    const int fieldWidth = width - labelWidth - 25;
    TemplateBuilder b(noToe ? kTemplateDlgHieuChinhTaluy1 : kTemplateDlgHieuChinhTaluy2,
                      kTextEditSlopeCaption, width, noToe ? 262 : 246);
    int y = 8;
    const auto nextRow = [&y](int step) { return std::exchange(y, y + step); };

    const int formRow = nextRow(18);
    b.label(kTextDisplayForm, {10, formRow + 2, labelWidth, kLabelHeight});
    ControlTemplate form =
        control(ControlKind::ComboBox, 1033, "", {15 + labelWidth, formRow, fieldWidth, kDropHeight},
                ControlStyle::DropDownList);
    form.items = {kTextTickLines, kTextTriangles};  // entry 0 tick lines, entry 1 triangles
    b.add(std::move(form));

    const int colourRow = nextRow(18);
    const int half = (width - 20) / 2;
    b.label(kTextShort, {10, colourRow + 2, 30, kLabelHeight});
    b.add(control(ControlKind::ColorCombo, 1019, "", {42, colourRow, half - 40, kDropHeight},
                  ControlStyle::DropDownList));
    b.label(kTextLong, {10 + half, colourRow + 2, 30, kLabelHeight});
    b.add(control(ControlKind::ColorCombo, 1022, "", {42 + half, colourRow, half - 40, kDropHeight},
                  ControlStyle::DropDownList));

    if (noToe) {
        b.labelledEdit(kTextLongTickLength, 1036, nextRow(16), labelWidth, fieldWidth);
        b.labelledEdit(kTextShortTickLength, 1013, nextRow(16), labelWidth, fieldWidth);
    } else {
        b.labelledEdit(kTextToeClearance, 1006, nextRow(16), labelWidth, fieldWidth);
    }
    b.labelledEdit(kTextDivisionLength, 1009, nextRow(16), labelWidth, fieldWidth);
    b.labelledEdit(kTextLongPerTangent, 1010, nextRow(16), labelWidth, fieldWidth);
    b.labelledEdit(kTextStepsPerDivision, 1011, nextRow(16), labelWidth, fieldWidth);
    if (!noToe)
        b.labelledEdit(kTextShortRatio, 1012, nextRow(16), labelWidth, fieldWidth);
    b.labelledEdit(kTextTriangleWidth, 1014, nextRow(16), labelWidth, fieldWidth);

    // The long-tick box starts disabled; the dialog enables it in triangle form.
    if (noToe) {
        b.add(control(ControlKind::CheckBox, 1020, kTextReversed, {10, nextRow(14), 200, kCheckHeight}));
        b.add(control(ControlKind::CheckBox, 1039, kTextShowLongTicks, {10, nextRow(18), 200, kCheckHeight},
                      ControlStyle::Disabled));
    } else {
        b.add(control(ControlKind::CheckBox, 1020, kTextShowLongTicks, {10, nextRow(18), 200, kCheckHeight},
                      ControlStyle::Disabled));
    }

    const int pickWidth = 60;
    const int trimLongRow = nextRow(18);
    b.label(kTextTrimLong, {10, trimLongRow + 3, labelWidth, kLabelHeight});
    b.add(control(ControlKind::PushButton, 1034, kTextPickPolyline,
                  {width - pickWidth - 10, trimLongRow, pickWidth, kButtonHeight}));
    const int trimShortRow = nextRow(24);
    b.label(kTextTrimShort, {10, trimShortRow + 3, labelWidth, kLabelHeight});
    b.add(control(ControlKind::PushButton, 1035, kTextPickPolyline,
                  {width - pickWidth - 10, trimShortRow, pickWidth, kButtonHeight}));

    const int buttonRow = nextRow(kButtonHeight);
    const int gap = (width - 3 * kButtonWidth) / 4;
    b.add(control(ControlKind::PushButton, 1042, kTextUpdate, {gap, buttonRow, kButtonWidth, kButtonHeight}));
    b.add(control(ControlKind::PushButton, 1007, kTextPickSlopes,
                  {2 * gap + kButtonWidth, buttonRow, kButtonWidth, kButtonHeight}));
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextFinish,
                  {3 * gap + 2 * kButtonWidth, buttonRow, kButtonWidth, kButtonHeight}));
    return b.build();
}

DialogTemplate hatchBrowserDialog()
{
    TemplateBuilder b(kTemplateDlgTestHatch, kTextHatchCaption, 259, 144);
    b.add(control(ControlKind::ListBox, 1000, "", {7, 7, 90, 130},
                  ControlStyle::Sorted | ControlStyle::Notify));
    b.add(control(ControlKind::HatchPreview, 1030, "", {104, 7, 148, 108}));
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextOk, {135, 123, 50, kButtonHeight}));
    b.add(control(ControlKind::PushButton, kCancelButton, kTextCancel, {202, 123, 50, kButtonHeight}));
    return b.build();
}

DialogTemplate pointDisplayDialog()
{
    TemplateBuilder b(kTemplatePointDisplayDlg, kTextPointDisplayCaption, 200, 110);
    b.add(control(ControlKind::CheckBox, 1020, kTextChangeTextHeight, {10, 10, 100, kCheckHeight}));
    b.add(edit(1006, {120, 9, 70, kEditHeight}));
    b.add(control(ControlKind::CheckBox, 1021, kTextChangeRotation, {10, 28, 100, kCheckHeight}));
    b.add(edit(1007, {120, 27, 70, kEditHeight}));
    b.add(control(ControlKind::CheckBox, 1022, kTextChangeColour, {10, 46, 100, kCheckHeight}));
    b.add(control(ControlKind::ColorCombo, 1037, "", {120, 45, 70, kDropHeight}, ControlStyle::DropDownList));
    b.add(control(ControlKind::PushButton, 1029, kTextPickPoints, {25, 86, 70, kButtonHeight}));
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextFinish, {105, 86, 70, kButtonHeight}));
    return b.build();
}

DialogTemplate sampleLogDialog()
{
    TemplateBuilder b(kTemplateSampleLogDlg, kTextSampleLogCaption, 170, 90);
    b.labelledEdit(kTextTextHeight, 1042, 8, 60, 85);
    b.labelledEdit(kTextRowHeight, 1043, 26, 60, 85);
    b.labelledEdit(kTextColumnWidth, 1008, 44, 60, 85);
    return b.okCancel(kTextOk, kTextCancel, 68).build();
}

DialogTemplate editTextDialog()
{
    TemplateBuilder b(kTemplateEditTextDlg, kTextEditTextCaption, 220, 70);
    b.add(edit(1006, {10, 10, 200, kEditHeight}));
    b.add(control(ControlKind::CheckBox, 1020, kTextToCapitals, {10, 28, 150, kCheckHeight}));
    return b.okCancel(kTextAccept, kTextDismiss, 48).build();
}

DialogTemplate editElevationCodeDialog()
{
    TemplateBuilder b(kTemplateEditTextDlgD, kTextEditTextCaption, 220, 72);
    b.add(edit(1006, {10, 10, 200, kEditHeight}));
    b.label(kTextFeatureCode, {10, 30, 60, kLabelHeight});
    b.add(control(ControlKind::ComboBox, 1019, "", {75, 28, 135, kDropHeight}, ControlStyle::DropDown));
    return b.okCancel(kTextAccept, kTextDismiss, 50).build();
}

DialogTemplate vertexElevationDialog()
{
    TemplateBuilder b(kTemplateCDlgHieuChinh, kTextVertexCaption, 200, 100);
    ControlTemplate previous = control(ControlKind::PushButton, 1280, "", {10, 8, 20, 20});
    previous.imageId = kIconPreviousVertex;
    previous.tooltipStringId = 44;  // Dinh truoc do
    ControlTemplate next = control(ControlKind::PushButton, 1281, "", {170, 8, 20, 20});
    next.imageId = kIconNextVertex;
    next.tooltipStringId = 43;  // Dinh tiep theo
    b.add(std::move(previous));
    b.add(edit(1278, {40, 12, 120, kEditHeight}));
    b.add(std::move(next));
    b.labelledEdit(kTextDistance, 1031, 38, 55, 120, ControlStyle::ReadOnly);
    b.labelledEdit(kTextSlope, 1032, 56, 55, 120);
    // Enter applies the typed values, Escape closes like the close button.
    return b.okCancel(kTextAccept, kTextClose, 80).build();
}

DialogTemplate prefixSuffixDialog()
{
    TemplateBuilder b(kTemplateDlgThemTienToHauTo, kTextPrefixSuffixCaption, 180, 75);
    b.labelledEdit(kTextPrefix, 1038, 8, 45, 110);
    b.labelledEdit(kTextSuffix, 1039, 26, 45, 110);
    return b.okCancel(kTextOk, kTextCancel, 52).build();
}

DialogTemplate lineLengthDialog()
{
    TemplateBuilder b(kTemplateDlgEditLine, kTextLineLengthCaption, 200, 90);
    b.labelledEdit(kTextSegmentLength, 1006, 8, 85, 95);
    b.add(control(ControlKind::RadioButton, kAnchorLeftRadio, kTextAlignLeft, {10, 32, 55, kCheckHeight},
                  ControlStyle::GroupStart));
    b.add(
        control(ControlKind::RadioButton, kAnchorMiddleRadio, kTextAlignMiddle, {72, 32, 55, kCheckHeight}));
    b.add(control(ControlKind::RadioButton, kAnchorRightRadio, kTextAlignRight, {134, 32, 55, kCheckHeight}));
    return b.okCancel(kTextOk, kTextCancel, 66).build();
}

}  // namespace

std::vector<DialogTemplate> moduleDialogTemplates()
{
    std::vector<DialogTemplate> all;
    all.push_back(aboutDialog());
    all.push_back(editTextDialog());
    all.push_back(offset3DPolyDialog());
    all.push_back(editSlopeDialog(SlopeKind::WithToe));
    all.push_back(drawSlopeDialog());
    all.push_back(pointDisplayDialog());
    all.push_back(hatchBrowserDialog());
    all.push_back(prefixSuffixDialog());
    all.push_back(lineLengthDialog());
    all.push_back(sampleLogDialog());
    all.push_back(editSlopeDialog(SlopeKind::WithoutToe));
    all.push_back(vertexElevationDialog());
    all.push_back(editElevationCodeDialog());
    return all;
}

}  // namespace fendo::ui
