// Handlers of the slope-symbol commands.
#pragma once

// "TL": draws a slope symbol between a top edge and an optional toe (SlopeCommands.cpp).
void cmdDrawSlope();
// "HCTL": edits a slope symbol in a modeless dialog (SlopeCommands.cpp).
void cmdEditSlope();
