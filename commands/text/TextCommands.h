// Handlers of the text, dimension and layer tools.
#pragma once

// "22", "33", "11", "44"
void cmdLayerOffByPick();
void cmdKeepPickedLayers();
void cmdAllLayersOn();
void cmdEraseByLayer();
// "PLC", "PLCA"
void cmdBulgeOneSegment();
void cmdBulgeAllSegments();
