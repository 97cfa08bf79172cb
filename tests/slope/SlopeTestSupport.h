// Slope-symbol tests through fendo: a private module folder per test (its own Data/tl.ini),
// drawings with edge and toe polylines or ready-made symbols, and the saved symbols.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "slope/TaluyObj.h"
#include "support/ModuleFolder.h"
#include "support/TestDrawing.h"

namespace fendo::test::slope {

// A private module folder whose Data/tl.ini belongs to one test.
class SlopeFolder : public fendo::test::ModuleFolder {
public:
    std::filesystem::path settingsPath() const { return dataFile("tl.ini"); }
    void writeSettings(const std::string& text) const { writeFile(settingsPath(), text); }
    // The file's text and lines; empty when it does not exist.
    std::string settingsText() const;
    std::vector<std::string> settingsLines() const;
};

// The run and the saved drawing's slope symbols, open for read while this lives.
struct SlopeRun {
    SlopeRun() = default;
    SlopeRun(const SlopeRun&) = delete;
    ~SlopeRun();
    RunResult run;
    std::unique_ptr<AcDbDatabase> result;  // null when nothing was saved
    std::vector<TaluyObj*> symbols;        // in drawing order
};
std::unique_ptr<SlopeRun> runSlope(const SlopeFolder& folder, TestDrawing& drawing, const std::string& script);

// An open lightweight polyline through x, y pairs.
void addPolyline(TestDrawing& drawing, const std::vector<double>& xy);
// A symbol from point lists (an empty toe: no toe), built with the object's defaults.
void addSymbol(TestDrawing& drawing, const std::vector<double>& edgeXy, const std::vector<double>& toeXy);

}  // namespace fendo::test::slope
