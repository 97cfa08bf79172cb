// Each member reads or writes one dispatch property of the control.
#include "patterns/HatchPattern.h"

namespace {
constexpr DISPID kProperty1 = 1;
constexpr DISPID kProperty3 = 3;
constexpr DISPID kProperty4 = 4;
}  // namespace

using namespace HatchPreviewDispid;

template <class T> T CHatchPattern::get(DISPID id) const
{
    const COleVariant value = GetControlProperty(*this, id);
    return std::holds_alternative<T>(value) ? std::get<T>(value) : T{};
}

short CHatchPattern::GetAppearance() const { return get<short>(kAppearance); }
void CHatchPattern::SetAppearance(short value) { SetControlProperty(*this, kAppearance, value); }
OLE_COLOR CHatchPattern::GetBackColor() const { return get<OLE_COLOR>(kBackColor); }
void CHatchPattern::SetBackColor(OLE_COLOR value) { SetControlProperty(*this, kBackColor, value); }
OLE_COLOR CHatchPattern::GetForeColor() const { return get<OLE_COLOR>(kForeColor); }
void CHatchPattern::SetForeColor(OLE_COLOR value) { SetControlProperty(*this, kForeColor, value); }
short CHatchPattern::GetBorderStyle() const { return get<short>(kBorderStyle); }
void CHatchPattern::SetBorderStyle(short value) { SetControlProperty(*this, kBorderStyle, value); }
BOOL CHatchPattern::GetProperty1() const { return get<bool>(kProperty1) ? TRUE : FALSE; }
void CHatchPattern::SetProperty1(BOOL value) { SetControlProperty(*this, kProperty1, value != FALSE); }
BOOL CHatchPattern::GetProperty3() const { return get<bool>(kProperty3) ? TRUE : FALSE; }
void CHatchPattern::SetProperty3(BOOL value) { SetControlProperty(*this, kProperty3, value != FALSE); }
short CHatchPattern::GetProperty4() const { return get<short>(kProperty4); }
void CHatchPattern::SetProperty4(short value) { SetControlProperty(*this, kProperty4, value); }
double CHatchPattern::GetPatternScale() const { return get<double>(kPatternScale); }
void CHatchPattern::SetPatternScale(double value) { SetControlProperty(*this, kPatternScale, value); }
CString CHatchPattern::GetPattern() const { return CString(get<std::wstring>(kPattern).c_str()); }
void CHatchPattern::SetPattern(const ACHAR* value)
{
    SetControlProperty(*this, kPattern, std::wstring(value ? value : L""));
}
void CHatchPattern::Refresh() { InvokeControlMethod(*this, kRefresh); }
