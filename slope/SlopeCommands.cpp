// Work in progress: the handlers are being written.
#include "slope/SlopeCommands.h"

void cmdDrawSlope() {}
void cmdEditSlope() {}
