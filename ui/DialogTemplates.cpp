// The module's dialog templates. Texts are TCVN3 bytes written as escapes so the file stays ASCII; the
// comment beside a text spells it without diacritics. Sizes and positions are in dialog units.
#include "ui/DialogTemplates.h"

#include <utility>

namespace fendo::ui {

namespace {

// Texts used by more than one template.
constexpr const char* kTextOk = "OK";
constexpr const char* kTextCancel = "Cancel";
constexpr const char* kTextAccept = "Ch\xCAp nh\xCBn";  // Chap nhan
constexpr const char* kTextDismiss = "H\xF1y b\xE1";    // Huy bo
constexpr const char* kTextFinish = "K\xD5t th\xF3"
                                    "c";                          // Ket thuc
constexpr const char* kTextEditText = "Hi\xD6u ch\xD8nh text";    // Hieu chinh text
constexpr const char* kTextEditSlope = "Hi\xD6u ch\xD8nh Taluy";  // Hieu chinh Taluy
constexpr const char* kTextPickPolyline = "Ch\xE4n pline..";      // Chon pline..
constexpr const char* kTextShowLongTicks = "Th\xD3 hi\xD6n v\xB9"
                                           "ch d\xB5i";  // The hien vach dai

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
    return TemplateBuilder(kTemplateAboutDlg, "About KVO", 533, 342).add(std::move(picture)).build();
}

DialogTemplate offset3DPolyDialog()
{
    TemplateBuilder b(kTemplateDlgOffset3DPoly, "Nh\xCBp gi\xB8 tr\xDE offset 3dPolyline", 220, 110);
    b.add(control(ControlKind::RadioButton, 1033,
                  "Nh\xCBp g\xE3"
                  "c v\xB5 ch\xAAnh cao",
                  {10, 8, 200, kCheckHeight}, ControlStyle::GroupStart));
    b.add(control(ControlKind::RadioButton, 1034,
                  "Nh\xCBp kho\xB6ng c\xB8"
                  "ch v\xB5 ch\xAAnh cao",
                  {10, 22, 200, kCheckHeight}));
    // Label 1035 is retitled by the radio buttons, so it keeps its own id.
    b.add(control(ControlKind::Label, 1035,
                  "G\xE3"
                  "c",
                  {10, 42, 70, kLabelHeight}, ControlStyle::GroupStart));
    b.add(edit(1036, {85, 40, 125, kEditHeight}));
    b.labelledEdit("Ch\xAAnh cao", 1037, 58, 70, 125);
    return b.okCancel(kTextOk, kTextCancel, 86).build();
}

DialogTemplate drawSlopeDialog()
{
    TemplateBuilder b(kTemplateVeTaluyDlg, "V\xCF Taluy", 180, 80);
    b.labelledEdit("B\xED"
                   "c v\xB9"
                   "ch l\xEDn",
                   1006, 10, 80, 70);  // Boc vach lon
    b.labelledEdit("S\xE8 v\xB9"
                   "ch nh\xE1",
                   1007, 28, 80, 70);                     // So vach nho
    return b.okCancel("V\xCF", "B\xE1 qua", 56).build();  // Ve, Bo qua
}

enum class SlopeKind { WithoutToe, WithToe };

// The two slope editing dialogs share most rows; each kind shows the fields that apply to it.
DialogTemplate editSlopeDialog(SlopeKind kind)
{
    const bool noToe = kind == SlopeKind::WithoutToe;
    const int width = 270;
    const int labelWidth = 160;
    const int fieldWidth = width - labelWidth - 25;
    TemplateBuilder b(noToe ? kTemplateDlgHieuChinhTaluy1 : kTemplateDlgHieuChinhTaluy2, kTextEditSlope,
                      width, noToe ? 262 : 246);
    int y = 8;
    const auto nextRow = [&y](int step) { return std::exchange(y, y + step); };

    const int formRow = nextRow(18);
    b.label("D\xB9ng hi\xD3n th\xDE", {10, formRow + 2, labelWidth, kLabelHeight});  // Dang hien thi
    ControlTemplate form =
        control(ControlKind::ComboBox, 1033, "", {15 + labelWidth, formRow, fieldWidth, kDropHeight},
                ControlStyle::DropDownList);
    form.items = {"K\xCE", "Tam gi\xB8"
                           "c"};  // Ke, Tam giac: entry 0 tick lines, entry 1 triangles
    b.add(std::move(form));

    const int colourRow = nextRow(18);
    const int half = (width - 20) / 2;
    b.label("ng\xBEn", {10, colourRow + 2, 30, kLabelHeight});  // ngan
    b.add(control(ControlKind::ColorCombo, 1019, "", {42, colourRow, half - 40, kDropHeight},
                  ControlStyle::DropDownList));
    b.label("D\xB5i", {10 + half, colourRow + 2, 30, kLabelHeight});  // Dai
    b.add(control(ControlKind::ColorCombo, 1022, "", {42 + half, colourRow, half - 40, kDropHeight},
                  ControlStyle::DropDownList));

    if (noToe) {
        b.labelledEdit("D\xB5i v\xB9"
                       "ch l\xEDn",
                       1036, nextRow(16), labelWidth, fieldWidth);  // Dai vach lon
        b.labelledEdit("D\xB5i v\xB9"
                       "ch nh\xE1",
                       1013, nextRow(16), labelWidth, fieldWidth);  // Dai vach nho
    } else {
        // Khoang cach mep chan duong
        b.labelledEdit("Kho\xB6ng c\xB8"
                       "ch m\xD0p ch\xA9n \xAE\xEAng",
                       1006, nextRow(16), labelWidth, fieldWidth);
    }
    // Do dai khoang chia; So vach lon lay tiep tuyen; So buoc trong mot khoang chia
    b.labelledEdit("\xA7\xE9 d\xB5i kho\xB6ng chia", 1009, nextRow(16), labelWidth, fieldWidth);
    b.labelledEdit("S\xE8 v\xB9"
                   "ch l\xEDn l\xCAy ti\xD5p tuy\xD5n",
                   1010, nextRow(16), labelWidth, fieldWidth);
    b.labelledEdit("S\xE8 b\xED"
                   "c trong m\xE9t kho\xB6ng chia",
                   1011, nextRow(16), labelWidth, fieldWidth);
    if (!noToe) {
        // Ty le giua vach ngan,vach dai (the trailing blank is part of the stored text)
        b.labelledEdit("T\xFB l\xD6 gi\xF7"
                       "a v\xB9"
                       "ch ng\xBEn,v\xB9"
                       "ch d\xB5i ",
                       1012, nextRow(16), labelWidth, fieldWidth);
    }
    // Do rong duong ve tam giac
    b.labelledEdit("\xA7\xE9 r\xE9ng \xAE\xEAng v\xCF tam gi\xB8"
                   "c",
                   1014, nextRow(16), labelWidth, fieldWidth);

    // "The hien vach dai" starts disabled; the dialog enables it in triangle form.
    if (noToe) {
        b.add(control(ControlKind::CheckBox, 1020, "\xA7\xB6o chi\xD2u Taluy",
                      {10, nextRow(14), 200, kCheckHeight}));
        b.add(control(ControlKind::CheckBox, 1039, kTextShowLongTicks, {10, nextRow(18), 200, kCheckHeight},
                      ControlStyle::Disabled));
    } else {
        b.add(control(ControlKind::CheckBox, 1020, kTextShowLongTicks, {10, nextRow(18), 200, kCheckHeight},
                      ControlStyle::Disabled));
    }

    const int pickWidth = 60;
    const int trimLongRow = nextRow(18);
    b.label("Trim v\xB9"
            "ch d\xB5i theo polyline",
            {10, trimLongRow + 3, labelWidth, kLabelHeight});
    b.add(control(ControlKind::PushButton, 1034, kTextPickPolyline,
                  {width - pickWidth - 10, trimLongRow, pickWidth, kButtonHeight}));
    const int trimShortRow = nextRow(24);
    b.label("Trim v\xB9"
            "ch ng\xBEn theo polyline",
            {10, trimShortRow + 3, labelWidth, kLabelHeight});
    b.add(control(ControlKind::PushButton, 1035, kTextPickPolyline,
                  {width - pickWidth - 10, trimShortRow, pickWidth, kButtonHeight}));

    const int buttonRow = nextRow(kButtonHeight);
    const int gap = (width - 3 * kButtonWidth) / 4;
    b.add(control(ControlKind::PushButton, 1042, "C\xCBp nh\xCBt",  // Cap nhat
                  {gap, buttonRow, kButtonWidth, kButtonHeight}));
    b.add(control(ControlKind::PushButton, 1007, "Ch\xE4n Taluy",  // Chon Taluy
                  {2 * gap + kButtonWidth, buttonRow, kButtonWidth, kButtonHeight}));
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextFinish,
                  {3 * gap + 2 * kButtonWidth, buttonRow, kButtonWidth, kButtonHeight}));
    return b.build();
}

DialogTemplate hatchBrowserDialog()
{
    TemplateBuilder b(kTemplateDlgTestHatch, "Dialog", 259, 144);
    b.add(control(ControlKind::ListBox, 1000, "", {7, 7, 90, 130},
                  ControlStyle::Sorted | ControlStyle::Notify));
    b.add(control(ControlKind::HatchPreview, 1030, "", {104, 7, 148, 108}));
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextOk, {135, 123, 50, kButtonHeight}));
    b.add(control(ControlKind::PushButton, kCancelButton, kTextCancel, {202, 123, 50, kButtonHeight}));
    return b.build();
}

DialogTemplate pointDisplayDialog()
{
    TemplateBuilder b(kTemplatePointDisplayDlg, "Hi\xD6u ch\xD8nh", 200, 110);  // Hieu chinh
    // Thay doi cao chu; Thay doi goc quay; Thay doi mau
    b.add(control(ControlKind::CheckBox, 1020, "Thay \xAE\xE6i cao ch\xF7", {10, 10, 100, kCheckHeight}));
    b.add(edit(1006, {120, 9, 70, kEditHeight}));
    b.add(control(ControlKind::CheckBox, 1021,
                  "Thay \xAE\xE6i g\xE3"
                  "c quay",
                  {10, 28, 100, kCheckHeight}));
    b.add(edit(1007, {120, 27, 70, kEditHeight}));
    b.add(control(ControlKind::CheckBox, 1022, "Thay \xAE\xE6i m\xB5u", {10, 46, 100, kCheckHeight}));
    b.add(control(ControlKind::ColorCombo, 1037, "", {120, 45, 70, kDropHeight}, ControlStyle::DropDownList));
    b.add(control(ControlKind::PushButton, 1029, "Ch\xE4n \xAEi\xD3m -->",
                  {25, 86, 70, kButtonHeight}));  // Chon diem
    b.add(control(ControlKind::DefPushButton, kOkButton, kTextFinish, {105, 86, 70, kButtonHeight}));
    return b.build();
}

DialogTemplate sampleLogDialog()
{
    TemplateBuilder b(kTemplateSampleLogDlg, "Tham so ve ranh mau", 170, 90);
    b.labelledEdit("Cao ch\xF7", 1042, 8, 60, 85);       // Cao chu
    b.labelledEdit("Cao h\xB5ng", 1043, 26, 60, 85);     // Cao hang
    b.labelledEdit("R\xE9ng c\xE9t", 1008, 44, 60, 85);  // Rong cot
    return b.okCancel(kTextOk, kTextCancel, 68).build();
}

DialogTemplate editTextDialog()
{
    TemplateBuilder b(kTemplateEditTextDlg, kTextEditText, 220, 70);
    b.add(edit(1006, {10, 10, 200, kEditHeight}));
    // Chuyen thanh chu hoa
    b.add(control(ControlKind::CheckBox, 1020, "Chuy\xD3n th\xB5nh ch\xF7 hoa", {10, 28, 150, kCheckHeight}));
    return b.okCancel(kTextAccept, kTextDismiss, 48).build();
}

DialogTemplate editElevationCodeDialog()
{
    TemplateBuilder b(kTemplateEditTextDlgD, kTextEditText, 220, 72);
    b.add(edit(1006, {10, 10, 200, kEditHeight}));
    b.label("M\xB7 \xAE\xDE"
            "a v\xCBt",
            {10, 30, 60, kLabelHeight});  // Ma dia vat
    b.add(control(ControlKind::ComboBox, 1019, "", {75, 28, 135, kDropHeight}, ControlStyle::DropDown));
    return b.okCancel(kTextAccept, kTextDismiss, 50).build();
}

DialogTemplate vertexElevationDialog()
{
    TemplateBuilder b(kTemplateCDlgHieuChinh, "Hi\xD6u ch\xD8nh cao \xAE\xE9", 200,
                      100);  // Hieu chinh cao do
    ControlTemplate previous = control(ControlKind::PushButton, 1280, "", {10, 8, 20, 20});
    previous.imageId = kIconPreviousVertex;
    previous.tooltipStringId = 44;  // Dinh truoc do
    ControlTemplate next = control(ControlKind::PushButton, 1281, "", {170, 8, 20, 20});
    next.imageId = kIconNextVertex;
    next.tooltipStringId = 43;  // Dinh tiep theo
    b.add(std::move(previous));
    b.add(edit(1278, {40, 12, 120, kEditHeight}));
    b.add(std::move(next));
    b.labelledEdit("Kho\xB6ng c\xB8"
                   "ch",
                   1031, 38, 55, 120, ControlStyle::ReadOnly);  // Khoang cach
    b.labelledEdit("\xA7\xE9 d\xE8"
                   "c",
                   1032, 56, 55, 120);  // Do doc
    // Enter applies the typed values, Escape closes like the close button.
    return b.okCancel(kTextAccept, "&Tho\xB8t", 80).build();  // Chap nhan, &Thoat
}

DialogTemplate prefixSuffixDialog()
{
    TemplateBuilder b(kTemplateDlgThemTienToHauTo,
                      "S\xF6"
                      "a text",
                      180, 75);                         // Sua text
    b.labelledEdit("Ti\xD2n t\xE8", 1038, 8, 45, 110);  // Tien to
    b.labelledEdit("H\xCBu t\xE8", 1039, 26, 45, 110);  // Hau to
    return b.okCancel(kTextOk, kTextCancel, 52).build();
}

DialogTemplate lineLengthDialog()
{
    TemplateBuilder b(kTemplateDlgEditLine, "THay \xAE\xE6i chi\xD2u d\xB5i", 200, 90);  // THay doi chieu dai
    b.labelledEdit("Chi\xD2u d\xB5i \xAEo\xB9n th\xBCng", 1006, 8, 85, 95);  // Chieu dai doan thang
    // Can trai, Can giua, Can phai: anchor values 0, 1, 2
    b.add(control(ControlKind::RadioButton, kAnchorLeftRadio, "C\xA8n tr\xB8i", {10, 32, 55, kCheckHeight},
                  ControlStyle::GroupStart));
    b.add(control(ControlKind::RadioButton, kAnchorMiddleRadio,
                  "C\xA8n gi\xF7"
                  "a",
                  {72, 32, 55, kCheckHeight}));
    b.add(
        control(ControlKind::RadioButton, kAnchorRightRadio, "C\xA8n ph\xB6i", {134, 32, 55, kCheckHeight}));
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
