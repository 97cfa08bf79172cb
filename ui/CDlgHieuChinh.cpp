// The vertex editor of "EM". It works outside any command, so every change to the drawing runs
// under the document's write lock.
#include "ui/CDlgHieuChinh.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "frame/DrawingHelpers.h"
#include "frame/LeadingNumber.h"
#include "frame/LocaliseDialog.h"
#include "frame/Selection.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbCircle.h"
#include "host/editor/aced.h"
#include "ui/DialogTemplates.h"

namespace {
constexpr double kMarkerRadius = 2.0;
constexpr int kMarkerColor = 80;

std::wstring formatted(const wchar_t* format, double value)
{
    wchar_t text[64];
    std::swprintf(text, 64, format, value);
    return text;
}

AcGePoint3d planPoint(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0.0); }
}  // namespace

CDlgHieuChinh::CDlgHieuChinh(AcDbObjectId polylineId, CWnd* parent)
    : CAcUiDialog(fendo::ui::kTemplateCDlgHieuChinh, parent), m_polylineId(polylineId), m_saveGuard(*this)
{
    onCommand(kPreviousButton, BN_CLICKED, &CDlgHieuChinh::onPrevious);
    onCommand(kNextButton, BN_CLICKED, &CDlgHieuChinh::onNext);
    // The vertices are read once, as the dialog is made.
    AcDb3dPolyline* pline = nullptr;
    if (acdbOpenObject(pline, m_polylineId, AcDb::kForRead) == Acad::eOk) {
        AcDbObjectIterator* it = pline->vertexIterator();
        for (it->start(); !it->done(); it->step()) {
            AcDb3dPolylineVertex* vertex = nullptr;
            if (pline->openVertex(vertex, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
            m_points.push_back(vertex->position());
            vertex->close();
        }
        delete it;
        pline->close();
    }
    acedEditor->addReactor(&m_saveGuard);
}

CDlgHieuChinh::~CDlgHieuChinh() { acedEditor->removeReactor(&m_saveGuard); }

BOOL CDlgHieuChinh::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    LocaliseDialog(this);
    if (m_points.empty()) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_current = 1;
    showElevation(m_points[0].z);
    drawMarker();
    return TRUE;
}

double CDlgHieuChinh::typedNumber(int id) const
{
    CString text;
    GetDlgItemText(id, text);
    return fendo::leadingNumber(std::wstring_view(text));
}

void CDlgHieuChinh::showElevation(double z)
{
    m_elevation = z;
    SetDlgItemText(kElevationEdit, formatted(L"%.15g", z).c_str());
}

void CDlgHieuChinh::onPrevious() { move(Step::Previous); }
void CDlgHieuChinh::onNext() { move(Step::Next); }

void CDlgHieuChinh::move(Step step)
{
    if (m_points.empty()) return;
    OpenForWrite lock;
    const double written = typedNumber(kElevationEdit);
    writeElevation(written);
    SetDlgItemText(kDistanceEdit, L"");
    SetDlgItemText(kSlopeEdit, L"");

    const int count = static_cast<int>(m_points.size());
    const int left = m_current;
    bool wrapped = false;
    if (step == Step::Next) {
        wrapped = m_current == count;
        m_current = wrapped ? 1 : m_current + 1;
    } else {
        wrapped = m_current == 1;
        m_current = wrapped ? count : m_current - 1;
    }
    const AcGePoint3d& now = m_points[static_cast<size_t>(m_current - 1)];
    showElevation(now.z);
    if (!wrapped && m_current != 1) {
        m_reference = written;
        const AcGePoint3d& was = m_points[static_cast<size_t>(left - 1)];
        const double distance = std::hypot(now.x - was.x, now.y - was.y);
        SetDlgItemText(kDistanceEdit, formatted(L"%.2f", distance).c_str());
    }
    moveMarker();
    acedCommandS(RTSTR, L"redraw", RTNONE);
}

void CDlgHieuChinh::OnOK()
{
    if (m_points.empty()) return;
    OpenForWrite lock;
    CString slopeText;
    CString distanceText;
    GetDlgItemText(kSlopeEdit, slopeText);
    GetDlgItemText(kDistanceEdit, distanceText);
    slopeText.Trim();
    distanceText.Trim();
    double elevation = typedNumber(kElevationEdit);
    const double distance = typedNumber(kDistanceEdit);
    if (!slopeText.IsEmpty() && !distanceText.IsEmpty()) {
        // Rounded to centimetres through the text the box then shows.
        const std::wstring text = formatted(L"%.2f", m_reference - typedNumber(kSlopeEdit) / 100.0 * distance);
        elevation = fendo::leadingNumber(std::wstring_view(text));
        SetDlgItemText(kElevationEdit, text.c_str());
    } else if (!distanceText.IsEmpty() && distance != 0.0) {
        SetDlgItemText(kSlopeEdit, formatted(L"%.2f", (m_reference - elevation) / distance * 100.0).c_str());
    }
    writeElevation(elevation);
    m_elevation = elevation;
    moveMarker();
}

void CDlgHieuChinh::OnCancel()
{
    {
        OpenForWrite lock;
        eraseMarker();
    }
    CAcUiDialog::OnCancel();
}

void CDlgHieuChinh::OnDestroy()
{
    if (!m_markerId.isNull()) {
        OpenForWrite lock;
        eraseMarker();
    }
    CAcUiDialog::OnDestroy();
}

void CDlgHieuChinh::writeElevation(double z)
{
    if (m_current < 1 || m_current > static_cast<int>(m_points.size())) return;
    AcGePoint3d& point = m_points[static_cast<size_t>(m_current - 1)];
    point.z = z;
    AcDb3dPolyline* pline = nullptr;
    if (acdbOpenObject(pline, m_polylineId, AcDb::kForWrite) != Acad::eOk) return;
    AcDbObjectIterator* it = pline->vertexIterator();
    int number = 1;
    for (it->start(); !it->done(); it->step(), ++number) {
        if (number != m_current) continue;
        AcDb3dPolylineVertex* vertex = nullptr;
        if (pline->openVertex(vertex, it->objectId(), AcDb::kForWrite) == Acad::eOk) {
            AcGePoint3d p = vertex->position();
            p.z = z;
            vertex->setPosition(p);
            vertex->close();
        }
        break;
    }
    delete it;
    pline->close();
}

void CDlgHieuChinh::drawMarker()
{
    if (m_current < 1) return;
    auto* circle =
        new AcDbCircle(planPoint(m_points[static_cast<size_t>(m_current - 1)]), AcGeVector3d::kZAxis, kMarkerRadius);
    circle->setColorIndex(kMarkerColor);
    if (appendToSpace(circle, m_markerId, UcsTransform::None, SpaceChoice::Current) != Acad::eOk && m_markerId.isNull())
        delete circle;
}

void CDlgHieuChinh::moveMarker()
{
    AcDbCircle* circle = nullptr;
    if (acdbOpenObject(circle, m_markerId, AcDb::kForWrite) != Acad::eOk) return;
    circle->setCenter(planPoint(m_points[static_cast<size_t>(m_current - 1)]));
    circle->close();
}

void CDlgHieuChinh::eraseMarker()
{
    if (!m_markerId.isNull()) eraseEntity(m_markerId);
    m_markerId = AcDbObjectId();
}

void CDlgHieuChinh::SaveGuard::beginSave(AcDbDatabase*, const ACHAR*)
{
    m_hidden = !m_dialog.m_markerId.isNull();
    if (m_hidden) m_dialog.eraseMarker();
}

void CDlgHieuChinh::SaveGuard::saveComplete(AcDbDatabase*, const ACHAR*)
{
    if (m_hidden) m_dialog.drawMarker();
    m_hidden = false;
}

void CDlgHieuChinh::SaveGuard::beginClose(AcDbDatabase*)
{
    m_dialog.eraseMarker();
    m_dialog.m_polylineId = AcDbObjectId();
    m_dialog.m_points.clear();
    m_dialog.m_current = 0;
}
