// Knot vector queries.
#include "host/ge/AcGeKnotVector.h"

#include <cmath>

int AcGeKnotVector::multiplicityAt(int index) const {
    const double k = (*this)[index];
    int count = 0;
    for (double v : *this)
        if (std::fabs(v - k) <= m_tolerance) ++count;
    return count;
}

int AcGeKnotVector::numIntervals() const {
    int n = 0;
    for (int i = 1; i < length(); ++i)
        if ((*this)[i] - (*this)[i - 1] > m_tolerance) ++n;
    return n;
}
