// The status-bar progress meter as a one-line terminal bar (label, percent, bar) on stderr.
// It draws only when stderr is a terminal and a person answers; scripts and tests see nothing.
#pragma once
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace fendo::editor {

enum class ProgressDisplay { Auto, Always, Never };

class ProgressMeter {
public:
    void start(std::wstring_view label, int minPos, int maxPos);
    void setPos(int pos);
    void stop();

    // Auto: stderr when it is a terminal and the input interactive. Always draws into `file`.
    void setDisplay(ProgressDisplay display, std::FILE* file = nullptr);
    // Also shows the meter elsewhere (the browser page): called with the label (UTF-8) and the
    // percentage at each redraw, and with -1 when the meter stops.
    using Observer = std::function<void(const std::string& label, int percent)>;
    void setObserver(Observer observer) { observer_ = std::move(observer); }
    bool active() const { return active_; }
    bool drawing() const { return drawing_; }
    int redrawCount() const { return redraws_; }

private:
    void draw(int percent);

    ProgressDisplay display_ = ProgressDisplay::Auto;
    std::FILE* file_ = nullptr;
    std::string label_;
    int min_ = 0;
    int max_ = 100;
    bool active_ = false;
    bool drawing_ = false;
    int lastPercent_ = -1;
    std::chrono::steady_clock::time_point lastDraw_{};
    int redraws_ = 0;
    Observer observer_;
};

ProgressMeter& progressMeter();

}  // namespace fendo::editor
