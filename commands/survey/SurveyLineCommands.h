// Handlers of the node-mark, crossing-check, parcel-report and elevation-line commands.
#pragma once

// "NODE" (NodeMarks.cpp)
void cmdNodeMarks();
// "CIP" (CrossingCheck.cpp)
void cmdCrossingCheck();
// "XBX" (ParcelReport.cpp)
void cmdParcelReport();
// "NDCD", "NCDT" (ElevationLines.cpp)
void cmdJoinPointsInRange();
void cmdJoinPointsAtElevation();
// "GCD1" (ContourElevation.cpp)
void cmdContourElevations();
