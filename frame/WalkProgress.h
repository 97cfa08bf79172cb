// The host's progress meter over a command's walk of many objects. Walks of up to
// kWalkProgressThreshold objects show nothing: they end before a meter would be read.
#pragma once
#include <cstddef>

#include "host/editor/aced.h"

namespace fendo {

constexpr std::size_t kWalkProgressThreshold = 10000;

class WalkProgress {
public:
    WalkProgress(const ACHAR* label, std::size_t count) : m_shown(count > kWalkProgressThreshold)
    {
        if (m_shown) acedSetStatusBarProgressMeter(label, 0, static_cast<int>(count));
    }
    ~WalkProgress()
    {
        if (m_shown) acedRestoreStatusBar();
    }
    WalkProgress(const WalkProgress&) = delete;
    WalkProgress& operator=(const WalkProgress&) = delete;

    // Objects done so far; the meter itself redraws only when its percentage changes.
    void at(std::size_t done)
    {
        if (m_shown) acedSetStatusBarProgressMeterPos(static_cast<int>(done));
    }
    // One more object done: the call at the top of a walk's loop.
    void next() { at(m_done++); }

private:
    bool m_shown;
    std::size_t m_done = 0;
};

}  // namespace fendo
