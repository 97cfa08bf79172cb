// Survey points made by the commands: the point object itself, its tag
// (extended data "KVO_DIEMMIA" that the suite's other tools read back), and
// selection by class.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "frame/Selection.h"
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"

namespace fendo::survey {

// The application name of the survey point tag.
inline constexpr const wchar_t* kPointTagApp = L"KVO_DIEMMIA";
// The code every point made from texts or polyline vertices carries.
inline constexpr const wchar_t* kCoordinateCode = L"TOADO";
// The layer of the points joined from texts and markers.
inline constexpr const wchar_t* kJoinedPointLayer = L"DiemDoKVO";

// A new survey point at `position` (z is its elevation) with two empty texts,
// on `layer` (which must exist), appended to the current space. The null id
// when it cannot be appended.
AcDbObjectId appendSurveyPoint(const AcGePoint3d& position, const wchar_t* layer);

// Writes the tag: the code, the number ("%d"), value1 ("%.3f"), text1, text2
// and value2
// ("%.3f") between "{" and "}". Nothing happens when the object cannot be
// opened for write.
void writePointTag(AcDbObjectId id, const wchar_t* code, int number, double value1, const wchar_t* text1,
                   const wchar_t* text2, double value2);

// A point made from a text pair or a vertex: appended, then tagged "TOADO" with
// `number` and the fixed items ("0.000", "0", "0", "0.000"). False when the
// point could not be made.
bool makeTaggedPoint(const AcGePoint3d& position, const wchar_t* layer, int number);

// Accepts an entity whose class is one of the given classes or derives from one
// of them.
class AnyKindOf : public sset::EntityCondition {
public:
    AnyKindOf(std::initializer_list<AcRxClass*> classes) : m_classes(classes) {}
    bool test(const AcDbEntity* entity) const override;

private:
    std::vector<AcRxClass*> m_classes;
};

// The objects of one selection that the condition accepts, in selection order. A cancelled
// selection is told apart from an empty one: commands that make a layer after selecting make
// it for an empty selection but leave the drawing alone when the user cancels.
struct Selected {
    std::vector<AcDbObjectId> ids;
    bool cancelled = false;
};
Selected selectObjects(const std::wstring& prompt, const sset::EntityCondition& condition);

}  // namespace fendo::survey
