// Geometric tolerances: how close two points or two vectors must be to count as equal.
#pragma once

class AcGeTol {
public:
    AcGeTol() = default;

    double equalPoint() const { return m_equalPoint; }
    double equalVector() const { return m_equalVector; }
    void setEqualPoint(double val) { m_equalPoint = val; }
    void setEqualVector(double val) { m_equalVector = val; }

private:
    double m_equalPoint = 1e-10;
    double m_equalVector = 1e-10;
};

// The global tolerance every geometry query uses when it is given none. Callers may
// change it for a while and must put the saved value back.
struct AcGeContext {
    static AcGeTol gTol;
};

namespace fendo::ge {

// Sets the global point tolerance for the lifetime of the object and restores the
// whole previous global tolerance afterwards, also on early returns.
class ScopedEqualPointTolerance {
public:
    explicit ScopedEqualPointTolerance(double equalPoint) : m_saved(AcGeContext::gTol) {
        AcGeContext::gTol.setEqualPoint(equalPoint);
    }
    ~ScopedEqualPointTolerance() { AcGeContext::gTol = m_saved; }
    ScopedEqualPointTolerance(const ScopedEqualPointTolerance&) = delete;
    ScopedEqualPointTolerance& operator=(const ScopedEqualPointTolerance&) = delete;

private:
    AcGeTol m_saved;
};

}  // namespace fendo::ge
