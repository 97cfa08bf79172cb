// Making and tagging survey points, and selecting objects by class for the
// survey commands.
#include "commands/survey/SurveyPoints.h"

#include "companions/kvoobjects/KvoDbPointObj.h"
#include "frame/DrawingHelpers.h"
#include "host/core/NumberText.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/editor/acedSS.h"

namespace fendo::survey {

namespace {
constexpr const wchar_t* kRemovePrompt = L"\nRemove objects:";
}  // namespace

AcDbObjectId appendSurveyPoint(const AcGePoint3d& position, const wchar_t* layer)
{
    auto* point = new KvoDbMeasurePointObj;
    point->Set(position, L"", L"", nullptr);
    point->setLayer(layer, true);
    AcDbObjectId id;
    // An entity the drawing did not take is still ours to delete.
    if (appendToSpace(point, id, UcsTransform::None, SpaceChoice::Current) != Acad::eOk && id.isNull()) delete point;
    return id;
}

void writePointTag(AcDbObjectId id, const wchar_t* code, int number, double value1, const wchar_t* text1,
                   const wchar_t* text2, double value2)
{
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) return;
    acdbRegApp(kPointTagApp);
    const std::wstring numberText = fendo::decimalText(number);
    const std::wstring value1Text = fendo::fixedText(value1, 3);
    const std::wstring value2Text = fendo::fixedText(value2, 3);
    resbuf* tag = acutBuildList(1001, kPointTagApp, 1002, L"{", 1000, code, 1000, numberText.c_str(), 1000,
                                value1Text.c_str(), 1000, text1, 1000, text2, 1000, value2Text.c_str(), 1002, L"}", 0);
    object->setXData(tag);
    acutRelRb(tag);
    object->close();
}

bool makeTaggedPoint(const AcGePoint3d& position, const wchar_t* layer, int number)
{
    const AcDbObjectId id = appendSurveyPoint(position, layer);
    if (id.isNull()) return false;
    writePointTag(id, kCoordinateCode, number, 0.0, L"0", L"0", 0.0);
    return true;
}

bool AnyKindOf::test(const AcDbEntity* entity) const
{
    for (AcRxClass* cls : m_classes)
        if (entity->isKindOf(cls)) return true;
    return false;
}

Selected selectObjects(const std::wstring& prompt, const sset::EntityCondition& condition)
{
    Selected out;
    const ACHAR* prompts[2] = {prompt.c_str(), kRemovePrompt};
    ads_name ss;
    const int status = acedSSGet(L":$", prompts, nullptr, nullptr, ss);
    out.cancelled = status == RTCAN;
    if (status != RTNORM) return out;
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        AcDbObjectId id;
        AcDbEntity* entity = nullptr;
        if (acedSSName(ss, i, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk) continue;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        if (condition.test(entity)) out.ids.push_back(id);
        entity->close();
    }
    acedSSFree(ss);
    return out;
}

}  // namespace fendo::survey
