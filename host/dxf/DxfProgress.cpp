#include "host/dxf/DxfProgress.h"

namespace fendo::dxf {

namespace {
DxfProgressHook& hook()
{
    static DxfProgressHook h;
    return h;
}
}  // namespace

void setDxfProgressHook(DxfProgressHook h) { hook() = std::move(h); }

DxfProgress::DxfProgress(const wchar_t* label, std::size_t total, bool startNow) : m_label(label), m_total(total)
{
    if (startNow && hook() && total > 0) {
        m_started = true;
        hook()(m_label, 0);
    }
}

DxfProgress::~DxfProgress()
{
    if (m_started && hook()) hook()(m_label, -1);
}

void DxfProgress::report(std::size_t done)
{
    if (!hook() || m_total == 0) return;
    if (!m_started) {
        if (m_records < kProgressRecords) return;
        m_started = true;
    }
    const std::size_t capped = done < m_total ? done : m_total;
    hook()(m_label, static_cast<int>(capped * 1000 / m_total));
}

}  // namespace fendo::dxf
