// Work in progress: the handlers are being written.
#include "commands/polyline/PolylineCommands.h"

void cmdInsertVertices() {}
void cmdRemoveVertices() {}
