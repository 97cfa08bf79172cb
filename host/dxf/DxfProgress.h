// How far a long DXF read or write is, told to whoever shows it (the program points the hook at
// its progress meter). Small files report nothing: they are done before a meter is read.
#pragma once
#include <cstddef>
#include <functional>

namespace fendo::dxf {

// Called with the label and the share done in thousandths (the first call starts the display),
// and with -1 when the work ends, also on failure. Unset, nothing is reported.
using DxfProgressHook = std::function<void(const wchar_t* label, int thousandths)>;
void setDxfProgressHook(DxfProgressHook hook);

// Reads of files over this many bytes show progress from the start; smaller reads once they reach
// kProgressRecords records, and writes of drawings holding more than that.
constexpr std::size_t kProgressBytes = 10u * 1024 * 1024;
constexpr std::size_t kProgressRecords = 10000;

// One read or write. tick() is called per record and costs a counter increment; the hook is called
// only every kProgressStride records.
class DxfProgress {
public:
    DxfProgress(const wchar_t* label, std::size_t total, bool startNow);
    ~DxfProgress();
    DxfProgress(const DxfProgress&) = delete;
    DxfProgress& operator=(const DxfProgress&) = delete;

    static constexpr std::size_t kProgressStride = 2000;

    // done: how far the work is, in the unit of total (bytes read, objects written).
    void tick(std::size_t done)
    {
        if (++m_records % kProgressStride == 0) report(done);
    }

private:
    void report(std::size_t done);

    const wchar_t* m_label;
    std::size_t m_total;
    std::size_t m_records = 0;
    bool m_started = false;
};

}  // namespace fendo::dxf
