// Slope-symbol tests through fendo: a private module folder per test (its own Data/tl.ini),
// drawings with edge and toe polylines or ready-made symbols, and the saved symbols.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "slope/TaluyObj.h"
#include "support/TestDrawing.h"

namespace fendo::test::slope {

// Copies of the module and its companion libraries beside an empty Data folder; fendo run
// with --module on the copy takes the copy's folder as the module folder.
class ModuleFolder {
public:
    ModuleFolder();
    std::filesystem::path module() const { return m_folder / "Fendo17.arx"; }
    std::filesystem::path settingsPath() const { return m_folder / "Data" / "tl.ini"; }
    void writeSettings(const std::string& text) const { writeFile(settingsPath(), text); }
    // The file's text and lines; empty when it does not exist.
    std::string settingsText() const;
    std::vector<std::string> settingsLines() const;

private:
    std::filesystem::path m_folder;
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
std::unique_ptr<SlopeRun> runSlope(const ModuleFolder& folder, TestDrawing& drawing, const std::string& script);

// An open lightweight polyline through x, y pairs.
void addPolyline(TestDrawing& drawing, const std::vector<double>& xy);
// A symbol from point lists (an empty toe: no toe), built with the object's defaults.
void addSymbol(TestDrawing& drawing, const std::vector<double>& edgeXy, const std::vector<double>& toeXy);

}  // namespace fendo::test::slope
