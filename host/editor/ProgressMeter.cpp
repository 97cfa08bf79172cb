// The terminal progress bar behind the status-bar progress meter functions.
#include "host/editor/ProgressMeter.h"

#include <unistd.h>

#include "host/editor/Editor.h"
#include "host/editor/Utf8.h"

namespace fendo::editor {

namespace {
// Redraws are throttled: at least this long apart and only when the percentage changes, so
// that a loop updating the meter for every one of 200,000 items costs next to nothing.
constexpr auto kMinRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;
}  // namespace

ProgressMeter& progressMeter()
{
    static ProgressMeter meter;
    return meter;
}

void ProgressMeter::setDisplay(ProgressDisplay display, std::FILE* file)
{
    display_ = display;
    file_ = file;
}

void ProgressMeter::start(std::wstring_view label, int minPos, int maxPos)
{
    if (active_) {
        stop();
    }
    label_ = toUtf8(label);
    min_ = minPos;
    max_ = maxPos;
    active_ = true;
    lastPercent_ = -1;
    lastDraw_ = {};
    redraws_ = 0;
    switch (display_) {
    case ProgressDisplay::Never:
        drawing_ = false;
        break;
    case ProgressDisplay::Always:
        drawing_ = true;
        break;
    case ProgressDisplay::Auto:
        drawing_ = ::isatty(STDERR_FILENO) && editor().interactive();
        break;
    }
    if (drawing_ || observer_) {
        draw(0);
    }
}

void ProgressMeter::setPos(int pos)
{
    if (!active_ || (!drawing_ && !observer_)) {
        return;
    }
    const long long span = static_cast<long long>(max_) - min_;
    long long percent = span > 0 ? (static_cast<long long>(pos) - min_) * 100 / span : 100;
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    if (percent == lastPercent_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (percent != 100 && now - lastDraw_ < kMinRedrawInterval) {
        return;
    }
    draw(static_cast<int>(percent));
}

void ProgressMeter::draw(int percent)
{
    lastPercent_ = percent;
    lastDraw_ = std::chrono::steady_clock::now();
    ++redraws_;
    if (observer_) observer_(label_, percent);
    if (!drawing_) return;
    std::FILE* out = file_ ? file_ : stderr;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(out, "\r%s %3d%% [%s%s]", label_.c_str(), percent, std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '-').c_str());
    std::fflush(out);
}

void ProgressMeter::stop()
{
    if (active_ && drawing_) {
        std::FILE* out = file_ ? file_ : stderr;
        std::fputs("\r\033[K", out);  // clear the bar's line
        std::fflush(out);
    }
    if (active_ && observer_) observer_(label_, -1);
    active_ = false;
    drawing_ = false;
}

}  // namespace fendo::editor
