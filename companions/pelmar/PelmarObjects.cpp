// The suite's polylines, alignments and poles.
#include "companions/pelmar/PelmarObjects.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbFiler.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/rx/AcRxModule.h"

ACRX_DXF_DEFINE_MEMBERS(KvoDbPolyline, AcDbPolyline, 27, 1, 0, KVOPOLYLINE, Pelmar17)
ACRX_DXF_DEFINE_MEMBERS(KvoDbAlignment, KvoDbPolyline, 27, 1, 0, KVOALIGNMENT, Pelmar17)

double KvoDbPolyline::Elevation() const { return elevation(); }

void KvoDbPolyline::SetElevation(double value) { setElevation(value); }

void KvoDbPolyline::SetFlagAt(int index, bool flag)
{
    assertWriteEnabled();
    if (index < 0) return;
    if (static_cast<size_t>(index) >= m_flags.size()) m_flags.resize(static_cast<size_t>(index) + 1, false);
    m_flags[static_cast<size_t>(index)] = flag;
}

bool KvoDbPolyline::FlagAt(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < m_flags.size() && m_flags[static_cast<size_t>(index)];
}

Acad::ErrorStatus KvoDbPolyline::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = AcDbPolyline::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"KvoDbPolyline");
    filer->writeInt32(AcDb::kDxfInt32, static_cast<std::int32_t>(m_flags.size()));
    for (bool f : m_flags) filer->writeInt16(AcDb::kDxfInt16, f ? 1 : 0);
    return filer->filerStatus();
}

Acad::ErrorStatus KvoDbPolyline::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = AcDbPolyline::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"KvoDbPolyline")) return Acad::eBadDxfSequence;
    m_flags.clear();
    resbuf rb;
    while (filer->readItem(&rb) == Acad::eOk) {
        if (rb.restype == 90)
            m_flags.reserve(static_cast<size_t>(std::max(0, rb.resval.rlong)));
        else if (rb.restype == 70)
            m_flags.push_back(rb.resval.rint != 0);
        else
            filer->keepUnknownItem();
    }
    return filer->filerStatus();
}

void KvoDbAlignment::SetName(const std::wstring& name)
{
    assertWriteEnabled();
    m_name = name;
}

void KvoDbAlignment::AddPole(const KvoGePole& pole)
{
    assertWriteEnabled();
    m_poles.AddPole(pole);
}

void KvoDbAlignment::SetScales(double horizontal, double vertical)
{
    assertWriteEnabled();
    m_scales[0] = horizontal;
    m_scales[1] = vertical;
}

// After the name: 40 and 41 the scales, 90 the pole count, then per pole 3 its name, 11 its
// position and 340 its survey point.
Acad::ErrorStatus KvoDbAlignment::dxfOutFields(AcDbDxfFiler* filer) const
{
    Acad::ErrorStatus es = KvoDbPolyline::dxfOutFields(filer);
    if (es != Acad::eOk) return es;
    filer->writeString(AcDb::kDxfSubclass, L"KvoDbAlignment");
    filer->writeString(AcDb::kDxfText, m_name.c_str());
    filer->writeDouble(static_cast<AcDb::DxfCode>(40), m_scales[0]);
    filer->writeDouble(static_cast<AcDb::DxfCode>(41), m_scales[1]);
    const std::vector<KvoGePole> poles = m_poles.GetPoles();
    filer->writeInt32(AcDb::kDxfInt32, static_cast<std::int32_t>(poles.size()));
    for (const KvoGePole& pole : poles) {
        filer->writeString(static_cast<AcDb::DxfCode>(3), pole.name.c_str());
        filer->writePoint3d(static_cast<AcDb::DxfCode>(11), pole.position);
        filer->writeObjectId(static_cast<AcDb::DxfCode>(340), pole.pointId);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus KvoDbAlignment::dxfInFields(AcDbDxfFiler* filer)
{
    Acad::ErrorStatus es = KvoDbPolyline::dxfInFields(filer);
    if (es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"KvoDbAlignment")) return Acad::eBadDxfSequence;
    m_poles.Clear();
    KvoGePole pole;
    bool open = false;
    resbuf rb;
    while (filer->readItem(&rb) == Acad::eOk) {
        switch (rb.restype) {
        case 1:
            m_name = rb.resval.rstring;
            break;
        case 40:
            m_scales[0] = rb.resval.rreal;
            break;
        case 41:
            m_scales[1] = rb.resval.rreal;
            break;
        case 90:
            break;
        case 3:
            if (open) m_poles.AddPole(pole);
            pole = KvoGePole{rb.resval.rstring, AcGePoint3d(), AcDbObjectId()};
            open = true;
            break;
        case 11:
            pole.position = AcGePoint3d(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
            break;
        case 340:
            acdbGetObjectId(pole.pointId, rb.resval.rlname);
            break;
        default:
            filer->keepUnknownItem();
        }
    }
    if (open) m_poles.AddPole(pole);
    return filer->filerStatus();
}

std::vector<KvoGePole> KvoGePoleManager::GetPoles() const { return m_poles; }

void DbHelper::AssertHasLayer(const wchar_t* layerName, int flag)
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db || !layerName || !*layerName) return;
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return;
    AcDbObjectId id;
    if (table->getAt(layerName, id) != Acad::eOk) {
        auto* record = new AcDbLayerTableRecord;
        record->setName(layerName);
        if (table->add(id, record) == Acad::eOk)
            record->close();
        else
            delete record;
        if (flag && !id.isNull()) db->setClayer(id);
    }
    table->close();
}

ACRX_DEFINE_MODULE_CONTRACT()

ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void*)
{
    if (msg == AcRx::kInitAppMsg) {
        KvoDbPolyline::desc()->setCustom(true);
        KvoDbAlignment::desc()->setCustom(true);
    } else if (msg == AcRx::kUnloadAppMsg) {
        deleteAcRxClass(KvoDbAlignment::desc());
        deleteAcRxClass(KvoDbPolyline::desc());
    }
    return AcRx::kRetOK;
}
