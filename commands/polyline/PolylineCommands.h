// Handlers of the polyline commands.
#pragma once

// "32P", "32D", "2P", "P23", "BA", "BA1" (KindConversions.cpp)
void cmd3dPolyToPolyline();
void cmd3dPolyTo2dPolyline();
void cmd2dPolylineToPolyline();
void cmdPolylineTo3dPoly();
void cmdArcsToChords();
void cmdDropArcsAndWidths();
// "P2S", "S2P", "S3P", "S2P1", "TDSPL", "LDSPL" (SplineConversions.cpp)
void cmdPolylineToSpline();
void cmdSplineToPolyline();
void cmdSplineTo3dPoly();
void cmdSplineFitPointsToPolyline();
void cmdInsertSplineFitPoint();
void cmdRemoveSplineFitPoint();
// "N3d", "DCPL" (JoinAndReverse.cpp)
void cmdJoinInto3dPolylines();
void cmdReverseCurves();
// "O3P" (Offset3dPolyline.cpp)
void cmdOffset3dPolyline();
// "CHIAPL", "ThayPl" (SplitAndReplace.cpp)
void cmdSplitPolyline();
void cmdReplacePolylineStretch();
// "TDPL", "LDPL" (VertexEdit.cpp)
void cmdInsertVertices();
void cmdRemoveVertices();
