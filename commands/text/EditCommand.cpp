// "EM": pick an object, edit its value in a small dialog, pick the next; "Undo" takes the last
// edit of this run back. A 3D polyline opens the modeless vertex editor instead.
#include "commands/text/EditCommand.h"

#include <cstdio>
#include <limits>

#include "commands/text/TextCommands.h"
#include "companions/kvoobjects/KvoDbPointObj.h"
#include "companions/pelmar/PelmarObjects.h"
#include "frame/DrawingHelpers.h"
#include "frame/Folders.h"
#include "frame/LeadingNumber.h"
#include "frame/ModuleApp.h"
#include "frame/Prompts.h"
#include "frame/Selection.h"
#include "frame/SysVarOverride.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/db/entities/AcDb2dPolyline.h"
#include "host/db/entities/AcDb3dPolyline.h"
#include "host/db/entities/AcDbBlockReference.h"
#include "host/db/entities/AcDbDimension.h"
#include "host/db/entities/AcDbMText.h"
#include "host/db/entities/AcDbObjectIterator.h"
#include "host/db/entities/AcDbPoint.h"
#include "host/db/entities/AcDbPolyline.h"
#include "host/db/entities/AcDbText.h"
#include "host/editor/SysVars.h"
#include "host/editor/aced.h"
#include "host/editor/acedSS.h"
#include "ui/CDlgHieuChinh.h"
#include "ui/EditTextDlg.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kPromptPick = 2;
constexpr int kTitleText = 3;
constexpr int kTitleMText = 4;
constexpr int kTitleDimension = 5;
constexpr int kTitleBlock = 6;
constexpr int kTitlePoint = 8;
constexpr int kTitlePolyline = 9;
constexpr int kTitleSurveyPoint = 12;
constexpr const ACHAR* kUndoKeyword = L"Undo";
// The host's stand-in for the measured value of a dimension.
constexpr const ACHAR* kMeasuredText = L"<>";

// Alignment marks of a survey point.
constexpr const ACHAR* kFeatureLayer = L"DiaVatTN";
constexpr const ACHAR* kMarkStyle = L"CHUSO";
constexpr const ACHAR* kMarkLayerSuffix = L"_DIEMMIA";
constexpr double kMarkHeight = 1.5;  // at 1:1000

// A number with the drawing's linear precision.
std::wstring formatNumber(double value)
{
    resbuf rb{};
    int decimals = 4;
    if (acedGetVar(L"LUPREC", &rb) == RTNORM && rb.restype == RTSHORT) decimals = rb.resval.rint;
    wchar_t text[128];
    std::swprintf(text, 128, L"%.*f", decimals, value);
    return text;
}

double typedNumber(const std::wstring& text) { return fendo::leadingNumber(std::wstring_view(text)); }

// The attribute of a block reference whose position is nearest the point; null when it has
// none.
AcDbObjectId nearestAttribute(const AcDbBlockReference& block, const AcGePoint3d& point)
{
    AcDbObjectId nearest;
    double best = std::numeric_limits<double>::infinity();
    AcDbObjectIterator* it = block.attributeIterator();
    for (it->start(); !it->done(); it->step()) {
        AcDbAttribute* attribute = nullptr;
        if (acdbOpenObject(attribute, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        const double d = attribute->position().distanceTo(point);
        if (d < best) {
            best = d;
            nearest = it->objectId();
        }
        attribute->close();
    }
    delete it;
    return nearest;
}

// Writes the values into the object opened for write, as each kind takes them.
void writeValues(AcDbEntity* entity, const std::wstring& value, const std::wstring& secondValue)
{
    if (auto* point = KvoDbPointObj::cast(entity)) {
        AcGePoint3d position = point->GetPoint();
        position.z = typedNumber(value);
        const std::wstring text0 = point->Get(0);
        const std::wstring text2 = point->Get(2);
        point->Set(position, text0.c_str(), secondValue.c_str(), text2.c_str());
    } else if (auto* definition = AcDbAttributeDefinition::cast(entity)) {
        definition->setTag(value.c_str());
    } else if (auto* text = AcDbText::cast(entity)) {
        text->setTextString(value.c_str());
    } else if (auto* mtext = AcDbMText::cast(entity)) {
        mtext->setContents(value.c_str());
    } else if (auto* node = AcDbPoint::cast(entity)) {
        AcGePoint3d position = node->position();
        position.z = typedNumber(value);
        node->setPosition(position);
    } else if (auto* suitePolyline = KvoDbPolyline::cast(entity)) {
        suitePolyline->SetFlagAt(0, true);
        suitePolyline->SetElevation(typedNumber(value));
    } else if (auto* polyline = AcDbPolyline::cast(entity)) {
        polyline->setElevation(typedNumber(value));
    } else if (auto* polyline2d = AcDb2dPolyline::cast(entity)) {
        polyline2d->setElevation(typedNumber(value));
    } else if (auto* dimension = AcDbAlignedDimension::cast(entity)) {
        dimension->setDimensionText(value.c_str());
    }
}

// The vertex editor of a picked 3D polyline, in the module's modeless slot; false when the
// command has to end.
bool openVertexEditor(AcDbObjectId polylineId)
{
    CWnd* frame = acedGetAcadFrame();
    if (!frame) {
        acedAlert(L"Unable to locate AutoCAD parent window.");
        return false;
    }
    destroyModelessDialog(ModelessSlot::PickEdit);
    auto* dialog = new CDlgHieuChinh(polylineId, frame);
    if (!dialog->Create()) {
        acedAlert(L"\nError to create!");
        delete dialog;
        return true;
    }
    setModelessDialog(ModelessSlot::PickEdit, dialog);
    return true;
}

void writeWithoutDialog(const EditRequest& request) { applyEdit(request, EditDialog::Hide); }

// The text style of the marks, with the module's Vietnamese shape font.
void ensureMarkStyle()
{
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbTextStyleTable* styles = nullptr;
    if (!db || db->getTextStyleTable(styles, AcDb::kForWrite) != Acad::eOk) return;
    AcDbObjectId id;
    if (styles->getAt(kMarkStyle, id) != Acad::eOk) {
        auto* style = new AcDbTextStyleTableRecord;
        style->setName(kMarkStyle);
        style->setFileName((moduleFolder() + L"/Vnsimple.shx").c_str());
        style->setTextSize(0.0);
        if (styles->add(id, style) == Acad::eOk)
            style->close();
        else
            delete style;
    }
    styles->close();
}

std::vector<AcDbObjectId> modelSpaceIds()
{
    std::vector<AcDbObjectId> ids;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* blocks = nullptr;
    if (!db || db->getBlockTable(blocks, AcDb::kForRead) != Acad::eOk) return ids;
    AcDbBlockTableRecord* model = nullptr;
    const Acad::ErrorStatus es = blocks->getAt(ACDB_MODEL_SPACE, model, AcDb::kForRead);
    blocks->close();
    if (es != Acad::eOk) return ids;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (model->newIterator(it) == Acad::eOk) {
        for (it->start(); !it->done(); it->step()) {
            AcDbObjectId id;
            if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
        }
        delete it;
    }
    model->close();
    return ids;
}

// Where a pole's two marks stand: the code above right of the pole, the elevation below it.
struct MarkPlaces {
    AcGePoint3d code;
    AcGePoint3d elevation;
};
MarkPlaces markPlaces(const AcGePoint3d& pole, double xFactor, double yFactor)
{
    const double h = kMarkHeight;
    return {AcGePoint3d(pole.x + 0.5 * h * xFactor, pole.y + 0.5 * h * yFactor, 0.0),
            AcGePoint3d(pole.x + 0.5 * h * xFactor, pole.y - 1.5 * h * yFactor, 0.0)};
}

// A pole's marks: its survey point's code and elevation as texts on the alignment's mark layer.
// Texts of that layer already at the marks' places are the old marks and give way.
void drawPoleMarks(const std::wstring& layer, const AcGePoint3d& polePosition, AcDbObjectId pointId, double xFactor,
                   double yFactor, const std::vector<AcDbObjectId>& modelSpace)
{
    KvoDbPointObj* point = nullptr;
    if (acdbOpenObject(point, pointId, AcDb::kForRead) != Acad::eOk) return;
    const std::wstring code = point->Get(1);
    const double z = point->GetPoint().z;
    point->close();

    const MarkPlaces places = markPlaces(polePosition, xFactor, yFactor);
    for (const AcDbObjectId& id : modelSpace) {
        AcDbText* text = nullptr;
        if (acdbOpenObject(text, id, AcDb::kForWrite) != Acad::eOk) continue;
        const bool oldMark = text->isA() == AcDbText::desc() && layer == std::wstring(text->layer()) &&
                             (text->position().isEqualTo(places.code) || text->position().isEqualTo(places.elevation));
        if (oldMark) text->erase();
        text->close();
    }

    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbObjectId style;
    AcDbTextStyleTable* styles = nullptr;
    if (db && db->getTextStyleTable(styles, AcDb::kForRead) == Acad::eOk) {
        styles->getAt(kMarkStyle, style);
        styles->close();
    }
    wchar_t elevation[64];
    std::swprintf(elevation, 64, L"%.2f", z);
    for (const auto& [where, content] :
         {std::pair{places.code, code}, std::pair{places.elevation, std::wstring(elevation)}}) {
        if (content.empty()) continue;
        auto* text = new AcDbText(where, content.c_str(), style, kMarkHeight * xFactor);
        text->setLayer(layer.c_str());
        if (appendToCurrentSpace(text, UcsTransform::None, SpaceChoice::Model) != Acad::eOk &&
            text->objectId().isNull())
            delete text;
    }
}

}  // namespace

bool classifyForEdit(AcDbObjectId id, const AcGePoint3d& pickPoint, EditRequest& request)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    request = EditRequest{pickPoint, id, {}, {}, {}};
    int title = 0;
    if (auto* point = KvoDbPointObj::cast(entity)) {
        title = kTitleSurveyPoint;
        request.value = formatNumber(point->GetPoint().z);
        request.secondValue = point->Get(1);
    } else if (auto* definition = AcDbAttributeDefinition::cast(entity)) {
        title = kTitleText;
        request.value = definition->tag().c_str();
    } else if (auto* text = AcDbText::cast(entity)) {
        title = kTitleText;
        request.value = text->textString().c_str();
    } else if (auto* mtext = AcDbMText::cast(entity)) {
        title = kTitleMText;
        request.value = mtext->contents().c_str();
    } else if (auto* node = AcDbPoint::cast(entity)) {
        title = kTitlePoint;
        request.value = formatNumber(node->position().z);
    } else if (auto* polyline = AcDbPolyline::cast(entity)) {
        title = kTitlePolyline;
        const auto* suite = KvoDbPolyline::cast(entity);
        request.value = formatNumber(suite ? suite->Elevation() : polyline->elevation());
    } else if (auto* polyline2d = AcDb2dPolyline::cast(entity)) {
        title = kTitlePolyline;
        request.value = formatNumber(polyline2d->elevation());
    } else if (auto* dimension = AcDbAlignedDimension::cast(entity)) {
        title = kTitleDimension;
        request.value = dimension->dimensionText().c_str();
        if (request.value.empty()) request.value = kMeasuredText;
    } else if (auto* block = AcDbBlockReference::cast(entity)) {
        request.objectId = nearestAttribute(*block, pickPoint);
        if (!request.objectId.isNull()) {
            AcDbAttribute* attribute = nullptr;
            if (acdbOpenObject(attribute, request.objectId, AcDb::kForRead) == Acad::eOk) {
                title = kTitleBlock;
                request.value = attribute->textString().c_str();
                attribute->close();
            }
        }
    }
    entity->close();
    if (title == 0) return false;
    request.title = LoadPrompt(title);
    return true;
}

void applyEdit(const EditRequest& request, EditDialog dialog)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, request.objectId, AcDb::kForWrite) != Acad::eOk) return;
    const bool surveyPoint = KvoDbPointObj::cast(entity) != nullptr;
    std::wstring value = request.value;
    std::wstring secondValue = request.secondValue;
    if (dialog == EditDialog::Show) {
        bool accepted = false;
        if (surveyPoint) {
            EditTextDlgD editor(value, secondValue, request.title, request.pickPoint, acedGetAcadFrame());
            accepted = editor.DoModal() == IDOK;
            value = editor.elevation();
            secondValue = editor.code();
        } else {
            EditTextDlg editor(value, request.title, request.pickPoint, acedGetAcadFrame());
            accepted = editor.DoModal() == IDOK;
            value = editor.result();
        }
        if (!accepted) {
            entity->close();
            return;
        }
    }
    writeValues(entity, value, secondValue);
    entity->close();
    if (surveyPoint) refreshAlignmentMarks(request.objectId);
}

void refreshAlignmentMarks(AcDbObjectId surveyPointId)
{
    const std::vector<AcDbObjectId> modelSpace = modelSpaceIds();
    for (const AcDbObjectId& id : modelSpace) {
        KvoDbAlignment* alignment = nullptr;
        if (acdbOpenObject(alignment, id, AcDb::kForRead) != Acad::eOk) continue;
        const std::vector<KvoGePole> poles = alignment->PoleManager().GetPoles();
        const std::wstring name = alignment->Name();
        const double horizontal = alignment->HorizontalScale();
        const double vertical = alignment->VerticalScale();
        alignment->close();
        bool holdsPoint = false;
        for (const KvoGePole& pole : poles) holdsPoint = holdsPoint || pole.pointId == surveyPointId;
        if (!holdsPoint) continue;

        DbHelper::AssertHasLayer(kFeatureLayer, 0);
        ensureMarkStyle();
        const std::wstring layer = name + kMarkLayerSuffix;
        DbHelper::AssertHasLayer(layer.c_str(), 0);
        const double xFactor = horizontal != 0.0 ? 1000.0 / horizontal : 1.0;
        const double yFactor = vertical != 0.0 ? 1000.0 / vertical : 1.0;
        for (const KvoGePole& pole : poles)
            if (pole.pointId == surveyPointId)
                drawPoleMarks(layer, pole.position, surveyPointId, xFactor, yFactor, modelSpace);
        return;
    }
}

void cmdEdit()
{
    SysVarOverride echo(L"CMDECHO", 0);
    fendo::ui::ModuleResourceScope resources;
    Undo journal(writeWithoutDialog);
    const std::wstring prompt = LoadPrompt(kPromptPick);
    for (;;) {
        acedInitGet(RSG_OTHER, kUndoKeyword);
        ads_name picked;
        ads_point at;
        const int rc = acedEntSel(prompt.c_str(), picked, at);
        // Any typed text, the keyword or not, takes one edit back.
        if (rc == RTKWORD || rc == RTINPUT) {
            journal.undoLast();
            continue;
        }
        // A pick on empty space is asked again, as the host asks again after a miss.
        if (rc == RTERROR) continue;
        if (rc != RTNORM) return;

        AcDbObjectId id;
        if (acdbGetObjectId(id, picked) != Acad::eOk) return;
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return;
        const bool polyline3d = AcDb3dPolyline::cast(entity) != nullptr;
        entity->close();
        if (polyline3d) {
            if (!openVertexEditor(id)) return;
            continue;
        }
        EditRequest request;
        if (!classifyForEdit(id, AcGePoint3d(at[0], at[1], at[2]), request)) continue;
        journal.record(request.objectId, request.value, request.secondValue);
        applyEdit(request, EditDialog::Show);
    }
}
