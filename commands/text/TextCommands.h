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
// "EM"
void cmdEdit();
// "EMT", "CVTEXT", "P2C", "EML", "EMD"
void cmdAddPrefixSuffix();
void cmdBlanksToPoints();
void cmdCommaToPoint();
void cmdSetLength();
void cmdAlignDimensions();
