// The suite's polylines, alignments and poles from the companion library Pelmar17.dbx.
#pragma once
#include <string>
#include <vector>
#include "host/db/entities/AcDbPolyline.h"

// A lightweight polyline of the suite: an elevation and a flag per vertex.
class KvoDbPolyline : public AcDbPolyline {
    ACRX_DECLARE_MEMBERS(KvoDbPolyline);

public:
    double Elevation() const;
    void SetElevation(double elevation);
    void SetFlagAt(int index, bool flag);
    bool FlagAt(int index) const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::vector<bool> m_flags;
};

// A road alignment: a suite polyline with a name.
class KvoDbAlignment : public KvoDbPolyline {
    ACRX_DECLARE_MEMBERS(KvoDbAlignment);

public:
    const std::wstring& Name() const { return m_name; }
    void SetName(const std::wstring& name);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_name;
};

struct KvoGePole {
    std::wstring name;
    AcGePoint3d position;
};

// The poles known to the suite in the working drawing.
class KvoGePoleManager {
public:
    std::vector<KvoGePole> GetPoles() const;
    void AddPole(const KvoGePole& pole) { m_poles.push_back(pole); }

private:
    std::vector<KvoGePole> m_poles;
};

class DbHelper {
public:
    // The named layer exists in the working drawing afterwards; with flag set a new layer is
    // also made current.
    static void AssertHasLayer(const wchar_t* layerName, int flag);
};
