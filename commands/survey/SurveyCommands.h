// Handlers of the survey point commands that join texts and markers into survey
// points and check and tidy elevations.
#pragma once

// "JT", "JT1" (JoinTexts.cpp)
void cmdJoinTextsAndPoints();
void cmdJoinAlignedTexts();
// "CD0", "CHECK", "D2D" (ElevationChecks.cpp)
void cmdMarkZeroHeights();
void cmdCheckLargePolylines();
void cmdPointsFromVertices();
// "LDTT" (DuplicateRemoval.cpp)
void cmdEraseDuplicates();
// "HCD" (PointDisplayDialog.cpp)
void cmdEditPointDisplay();
