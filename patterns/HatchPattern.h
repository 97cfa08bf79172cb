// Wrapper of the host's hatch-pattern preview control: its dispatch properties as typed members.
#pragma once
#include "host/dialogs/HatchPreview.h"

class CHatchPattern : public CWnd {
public:
    short GetAppearance() const;
    void SetAppearance(short value);
    OLE_COLOR GetBackColor() const;
    void SetBackColor(OLE_COLOR value);
    OLE_COLOR GetForeColor() const;
    void SetForeColor(OLE_COLOR value);
    short GetBorderStyle() const;
    void SetBorderStyle(short value);
    // Properties 1, 3 and 4 belong to the control; the browser sets 3 and 4 when it opens.
    BOOL GetProperty1() const;
    void SetProperty1(BOOL value);
    BOOL GetProperty3() const;
    void SetProperty3(BOOL value);
    short GetProperty4() const;
    void SetProperty4(short value);
    double GetPatternScale() const;
    void SetPatternScale(double value);
    // The pattern to show: the file path, "(", the pattern name, ")".
    CString GetPattern() const;
    void SetPattern(const ACHAR* value);
    void Refresh();

private:
    template <class T> T get(DISPID id) const;
};
