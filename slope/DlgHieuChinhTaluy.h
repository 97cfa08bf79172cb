// "HiÖu chØnh Taluy": the modeless dialogs of HCTL that edit one slope symbol while the user
// keeps working in the drawing. DlgHieuChinhTaluy1 edits a symbol without toe (fixed tick
// lengths, reversible side), DlgHieuChinhTaluy2 one with toe (clearance and short tick ratio);
// the rest is shared.
#pragma once
#include <vector>
#include "host/dialogs/AcUiColorComboBox.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/db/AcDbObjectId.h"
#include "slope/SlopeSettings.h"

class TaluyObj;

class DlgHieuChinhTaluy : public CAcUiDialog {
public:
    // Control ids shared by both dialogs.
    static constexpr int kFormCombo = 1033;
    static constexpr int kShortColorCombo = 1019;
    static constexpr int kLongColorCombo = 1022;
    static constexpr int kDivisionLengthEdit = 1009;
    static constexpr int kLongPerTangentEdit = 1010;
    static constexpr int kStepsPerDivisionEdit = 1011;
    static constexpr int kTriangleWidthEdit = 1014;
    static constexpr int kTrimLongButton = 1034;
    static constexpr int kTrimShortButton = 1035;
    static constexpr int kUpdateButton = 1042;
    static constexpr int kPickSlopesButton = 1007;
    // Entries of the display form combo.
    static constexpr int kTickLinesEntry = 0;
    static constexpr int kTrianglesEntry = 1;

    AcDbObjectId symbolId() const { return m_symbolId; }

protected:
    // Which of the kind-dependent fields the dialog shows.
    enum class SymbolKind { WithoutToe, WithToe };

    // `reversedCheck` 0: the dialog has no "§¶o chiÒu Taluy" box.
    DlgHieuChinhTaluy(UINT templateId, SymbolKind kind, int showLongCheck, int reversedCheck,
                      AcDbObjectId symbolId, CWnd* parent);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // "KÕt thóc": apply, rebuild, save the settings and close.
    void OnOK() override;

    // The kind's own fields: shown from the symbol, copied into it, applied to other symbols
    // of the same kind and written to the settings (lines it does not show get `fallback`).
    virtual void showKindFields(const TaluyObj& symbol) = 0;
    virtual void copyKindFields(TaluyObj& symbol) const = 0;
    // The kind's number boxes, checked with the shared ones before anything is applied.
    virtual std::vector<int> kindNumberFields() const = 0;
    bool fieldsHoldNumbers();
    virtual void writeKindSettings(fendo::slope::SettingsLines& lines,
                                   const fendo::slope::SettingsLines& previous) const = 0;

    CString fieldText(int id) const;
    void setFieldText(int id, const std::wstring& text);
    double realField(int id) const;
    short integerField(int id) const;

    // A line the dialog does not show: the previous file's when that has enough lines,
    // else the default.
    static void carryOver(fendo::slope::SettingsLines& lines, const fendo::slope::SettingsLines& previous,
                          fendo::slope::SettingsLine line, const wchar_t* fallback);

private:
    void onFormChanged();
    void onFlagClicked();
    void onUpdate();
    void onTrimLong();
    void onTrimShort();
    void onPickSlopes();

    enum class TickList { Long, Short };
    void trim(TickList list);
    // Every field and flag of the dialog into the symbol.
    void copyFields(TaluyObj& symbol) const;
    // The display form, the colours and the fields every symbol has.
    void copySharedFields(TaluyObj& symbol) const;
    bool inTickForm() const;
    void decodeFormEntries();
    void enableShowLong();

    AcDbObjectId m_symbolId;
    SymbolKind m_kind;
    int m_showLongCheck;
    int m_reversedCheck;
    CComboBox m_form;
    CAcUiColorComboBox m_shortColor;
    CAcUiColorComboBox m_longColor;
};

// The editor of a symbol without toe (template 197).
class DlgHieuChinhTaluy1 : public DlgHieuChinhTaluy {
public:
    static constexpr int kLongLengthEdit = 1036;
    static constexpr int kShortLengthEdit = 1013;
    static constexpr int kReversedCheck = 1020;
    static constexpr int kShowLongCheck = 1039;

    explicit DlgHieuChinhTaluy1(AcDbObjectId symbolId, CWnd* parent = nullptr);

protected:
    void showKindFields(const TaluyObj& symbol) override;
    void copyKindFields(TaluyObj& symbol) const override;
    std::vector<int> kindNumberFields() const override;
    void writeKindSettings(fendo::slope::SettingsLines& lines,
                           const fendo::slope::SettingsLines& previous) const override;
};

// The editor of a symbol with toe (template 151).
class DlgHieuChinhTaluy2 : public DlgHieuChinhTaluy {
public:
    static constexpr int kToeClearanceEdit = 1006;
    static constexpr int kShortRatioEdit = 1012;
    static constexpr int kShowLongCheck = 1020;

    explicit DlgHieuChinhTaluy2(AcDbObjectId symbolId, CWnd* parent = nullptr);

protected:
    void showKindFields(const TaluyObj& symbol) override;
    void copyKindFields(TaluyObj& symbol) const override;
    std::vector<int> kindNumberFields() const override;
    void writeKindSettings(fendo::slope::SettingsLines& lines,
                           const fendo::slope::SettingsLines& previous) const override;
};
