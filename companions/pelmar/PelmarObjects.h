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

struct KvoGePole {
    std::wstring name;
    AcGePoint3d position;
    AcDbObjectId pointId;  // the survey point the pole stands for; null when none
};

// The poles of an alignment.
class KvoGePoleManager {
public:
    std::vector<KvoGePole> GetPoles() const;
    void AddPole(const KvoGePole& pole) { m_poles.push_back(pole); }
    void Clear() { m_poles.clear(); }

private:
    std::vector<KvoGePole> m_poles;
};

// A road alignment: a suite polyline with a name, its poles and its drawing scales
// (horizontal and vertical, 1000 meaning 1:1000).
class KvoDbAlignment : public KvoDbPolyline {
    ACRX_DECLARE_MEMBERS(KvoDbAlignment);

public:
    const std::wstring& Name() const { return m_name; }
    void SetName(const std::wstring& name);
    const KvoGePoleManager& PoleManager() const { return m_poles; }
    void AddPole(const KvoGePole& pole);
    double HorizontalScale() const { return m_scales[0]; }
    double VerticalScale() const { return m_scales[1]; }
    void SetScales(double horizontal, double vertical);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    std::wstring m_name;
    KvoGePoleManager m_poles;
    double m_scales[2] = {1000.0, 1000.0};
};

class DbHelper {
public:
    // The named layer exists in the working drawing afterwards; with flag set a new layer is
    // also made current.
    static void AssertHasLayer(const wchar_t* layerName, int flag);
};
