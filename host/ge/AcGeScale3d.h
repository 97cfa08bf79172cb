// Scale factors along x, y and z, as block references carry them.
#pragma once

class AcGeScale3d {
public:
    AcGeScale3d() = default;
    explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
    AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
    double operator[](unsigned int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
    bool isEqualTo(const AcGeScale3d& o, double tol = 1e-10) const
    {
        auto near = [tol](double a, double b) { return a - b <= tol && b - a <= tol; };
        return near(sx, o.sx) && near(sy, o.sy) && near(sz, o.sz);
    }
    bool operator==(const AcGeScale3d& o) const { return isEqualTo(o); }

    double sx = 1.0;
    double sy = 1.0;
    double sz = 1.0;
};
