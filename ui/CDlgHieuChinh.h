// "HiÖu chØnh cao ®é": the modeless vertex editor "EM" opens on a 3D polyline. The user walks
// the vertices (wrapping round at both ends) and sets each one's elevation, typed or worked out
// from a slope and the plan distance from the previous vertex; a circle marks the vertex.
#pragma once
#include "host/db/AcDbObjectId.h"
#include "host/dialogs/AdUiBaseDialog.h"
#include "host/editor/AcEditorReactor.h"
#include "host/ge/AcGePoint3d.h"
#include <vector>

class CDlgHieuChinh : public CAcUiDialog {
public:
    static constexpr int kPreviousButton = 1280;
    static constexpr int kNextButton = 1281;
    static constexpr int kElevationEdit = 1278;
    static constexpr int kDistanceEdit = 1031;
    static constexpr int kSlopeEdit = 1032;

    explicit CDlgHieuChinh(AcDbObjectId polylineId, CWnd* parent = nullptr);
    ~CDlgHieuChinh() override;

    // The 1-based number of the vertex shown.
    int currentVertex() const { return m_current; }

protected:
    BOOL OnInitDialog() override;
    // "ChÊp nhËn": the elevation, or the one the slope and distance give, into the vertex.
    void OnOK() override;
    // "&Tho¸t": the marker goes and the dialog closes.
    void OnCancel() override;
    void OnDestroy() override;

private:
    enum class Step { Previous, Next };
    void onPrevious();
    void onNext();
    void move(Step step);
    double typedNumber(int id) const;
    void showElevation(double z);
    // The current vertex's z becomes `z`, in the polyline and in the stored points.
    void writeElevation(double z);
    void drawMarker();
    void moveMarker();
    void eraseMarker();

    // Keeps the marker circle out of saved drawings: gone while the drawing is written.
    class SaveGuard : public AcEditorReactor {
    public:
        explicit SaveGuard(CDlgHieuChinh& dialog) : m_dialog(dialog) {}
        void beginSave(AcDbDatabase*, const ACHAR*) override;
        void saveComplete(AcDbDatabase*, const ACHAR*) override;
        // The marker goes with the drawing; the editor no longer writes to it.
        void beginClose(AcDbDatabase*) override;

    private:
        CDlgHieuChinh& m_dialog;
        bool m_hidden = false;
    };

    AcDbObjectId m_polylineId;
    std::vector<AcGePoint3d> m_points;
    int m_current = 0;
    double m_elevation = 0;
    double m_reference = 0;
    AcDbObjectId m_markerId;
    SaveGuard m_saveGuard;
};
