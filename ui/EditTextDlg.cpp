// The value dialogs of "EM" and the X that marks the picked point while they are open.
#include "ui/EditTextDlg.h"

#include <fstream>
#include <iterator>

#include "frame/DrawingHelpers.h"
#include "frame/Folders.h"
#include "frame/LocaliseDialog.h"
#include "frame/Selection.h"
#include "frame/Tcvn3.h"
#include "host/db/AcString.h"
#include "host/db/entities/AcDbLine.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"
#include "ui/DialogTemplates.h"

namespace {

constexpr int kMarkerColor = 3;
constexpr double kMarkerReach = 3.0;  // in pick-box radii
constexpr const wchar_t* kCodeFile = L"Data/MaDiaVat.txt";
constexpr const wchar_t* kScratchFile = L"temp.temp";
// Codes every list offers after those of the code file.
constexpr const wchar_t* kBuiltInCodes[] = {L"MT1", L"MP1", L"MT2", L"MP2", L"MT3", L"MP3", L"DC1", L"DC2"};

double numberVariable(const wchar_t* name, double fallback)
{
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return fallback;
    if (rb.restype == RTSHORT) return rb.resval.rint;
    if (rb.restype == RTREAL) return rb.resval.rreal;
    return fallback;
}

std::string readBytes(const std::wstring& path)
{
    std::ifstream file(fendo::toUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool isUtf8(const std::string& bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 99;
        if (extra == 99 || i + extra >= bytes.size()) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Stored form (one unit per TCVN3 byte) to readable text; text holding wider units is already
// readable.
std::wstring readableCode(const std::wstring& stored)
{
    std::string bytes;
    for (const wchar_t c : stored) {
        if (static_cast<unsigned>(c) > 0xFF) return stored;
        bytes.push_back(static_cast<char>(c));
    }
    return DecodeTcvn3Text(bytes);
}

wchar_t upperCase(wchar_t c)
{
    const auto u = static_cast<unsigned>(c);
    if (u >= 'a' && u <= 'z') return static_cast<wchar_t>(u - 32);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 32);
    // Latin Extended-A pairs (ă, đ, ĩ, ũ ...) and Vietnamese letters with marks: capital first.
    const bool pairedOdd = (u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177) || (u >= 0x1EA0 && u <= 0x1EF9);
    if (pairedOdd && (u & 1) != 0) return static_cast<wchar_t>(u - 1);
    if (u >= 0x139 && u <= 0x148 && (u & 1) == 0) return static_cast<wchar_t>(u - 1);
    if (u == 0x1A1 || u == 0x1B0) return static_cast<wchar_t>(u - 1);  // ơ, ư
    return c;
}

}  // namespace

double pickBoxRadius() { return numberVariable(L"PICKBOX", 3) * 0.25 / 100.0 * numberVariable(L"VIEWSIZE", 100); }

std::wstring upperCaseText(const std::wstring& text)
{
    std::wstring upper = text;
    for (wchar_t& c : upper) c = upperCase(c);
    return upper;
}

void PickMarker::draw(const AcGePoint3d& at)
{
    erase();
    const double reach = kMarkerReach * pickBoxRadius();
    const AcGeVector3d arms[2] = {AcGeVector3d(reach, reach, 0), AcGeVector3d(reach, -reach, 0)};
    for (int i = 0; i < 2; ++i) {
        auto* line = new AcDbLine(at - arms[i], at + arms[i]);
        line->setColorIndex(kMarkerColor);
        if (appendToSpace(line, m_lines[i], UcsTransform::None, SpaceChoice::Current) != Acad::eOk &&
            m_lines[i].isNull())
            delete line;
    }
    acedCommandS(RTSTR, L"_.redraw", RTNONE);
}

void PickMarker::erase()
{
    for (AcDbObjectId& id : m_lines) {
        if (!id.isNull()) eraseEntity(id);
        id = AcDbObjectId();
    }
}

// ---- EditTextDlg ------------------------------------------------------------------------

EditTextDlg::EditTextDlg(const std::wstring& value, const std::wstring& title, const AcGePoint3d& pickPoint,
                         CWnd* parent)
    : CAcUiDialog(fendo::ui::kTemplateEditTextDlg, parent), m_initial(value), m_title(title), m_pickPoint(pickPoint)
{
    onCommand(kCapitalsCheck, BN_CLICKED, &EditTextDlg::onCapitals);
}

BOOL EditTextDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    // The title and the value are readable text already: they go in after the stored texts are
    // decoded.
    LocaliseDialog(this);
    SetWindowText(m_title.c_str());
    SetDlgItemText(kValueEdit, m_initial.c_str());
    m_marker.draw(m_pickPoint);
    return TRUE;
}

// Ticked: the box's text in capitals; cleared: the value the dialog opened with.
void EditTextDlg::onCapitals()
{
    if (IsDlgButtonChecked(kCapitalsCheck) == BST_CHECKED) {
        CString text;
        GetDlgItemText(kValueEdit, text);
        SetDlgItemText(kValueEdit, upperCaseText(text).c_str());
    } else {
        SetDlgItemText(kValueEdit, m_initial.c_str());
    }
}

void EditTextDlg::OnOK()
{
    CString text;
    GetDlgItemText(kValueEdit, text);
    m_result = text;
    CAcUiDialog::OnOK();
}

void EditTextDlg::OnDestroy()
{
    m_marker.erase();
    CAcUiDialog::OnDestroy();
}

// ---- EditTextDlgD -----------------------------------------------------------------------

EditTextDlgD::EditTextDlgD(const std::wstring& elevation, const std::wstring& code, const std::wstring& title,
                           const AcGePoint3d& pickPoint, CWnd* parent)
    : CAcUiDialog(fendo::ui::kTemplateEditTextDlgD, parent), m_elevation(elevation), m_code(code), m_title(title),
      m_pickPoint(pickPoint)
{
}

void EditTextDlgD::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kCodeCombo, m_codes);
}

std::vector<std::wstring> EditTextDlgD::codeNames(const std::wstring& codeFile)
{
    std::vector<std::wstring> names;
    // The file may be UTF-8 or, as older lists are, TCVN3.
    const std::string bytes = readBytes(codeFile);
    const bool utf8 = isUtf8(bytes);
    for (const std::string& line : splitLines(bytes)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) continue;
        const std::string name = line.substr(tab + 1);
        names.push_back(utf8 ? fendo::fromUtf8(name) : DecodeTcvn3Text(name));
    }
    names.insert(names.end(), std::begin(kBuiltInCodes), std::end(kBuiltInCodes));
    return names;
}

std::wstring EditTextDlgD::storedForm(const std::wstring& text)
{
    const std::wstring path = userDataFolder() + L"/" + kScratchFile;
    {
        std::ofstream out(fendo::toUtf8(path), std::ios::binary | std::ios::trunc);
        if (!out) return text;
        out << EncodeTcvn3Text(text) << "\r\n";
    }
    std::wstring stored;
    int nonEmpty = 0;
    for (const std::string& line : splitLines(readBytes(path))) {
        if (line.empty()) continue;
        ++nonEmpty;
        stored.clear();
        for (const char byte : line) stored.push_back(static_cast<wchar_t>(static_cast<unsigned char>(byte)));
    }
    return nonEmpty == 1 ? stored : text;
}

BOOL EditTextDlgD::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    LocaliseDialog(this);
    SetWindowText(m_title.c_str());
    SetDlgItemText(kElevationEdit, m_elevation.c_str());
    for (const std::wstring& name : codeNames(moduleFile(kCodeFile))) m_codes.InsertString(-1, name.c_str());
    if (!m_code.empty()) {
        const std::wstring current = readableCode(m_code);
        const int entry = m_codes.FindStringExact(-1, current.c_str());
        if (entry >= 0)
            m_codes.SetCurSel(entry);
        else
            m_codes.SetWindowText(current.c_str());
    }
    m_marker.draw(m_pickPoint);
    return TRUE;
}

void EditTextDlgD::OnOK()
{
    CString elevation;
    GetDlgItemText(kElevationEdit, elevation);
    m_elevation = elevation;
    CString code;
    m_codes.GetWindowText(code);
    if (!code.empty()) m_code = storedForm(code);
    CAcUiDialog::OnOK();
}

void EditTextDlgD::OnDestroy()
{
    m_marker.erase();
    CAcUiDialog::OnDestroy();
}
