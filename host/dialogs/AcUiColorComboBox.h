// The host's colour combo box and colour dialog. The combo lists ByLayer, ByBlock, the seven standard
// colours and then the recent colours; every entry's item data is its colour index (256 ByLayer,
// 0 ByBlock, 1..255).
#pragma once
#include "host/dialogs/Controls.h"

inline constexpr int kColorByBlock = 0;
inline constexpr int kColorByLayer = 256;

class CAcUiColorComboBox : public CComboBox {
public:
    // Recent colours kept after the standard entries; the oldest goes when a new one comes.
    static constexpr int kMaxRecentColors = 10;

    // The colour index of the selected entry, -1 when none is selected.
    int GetColorIndex() const;
    // Selects the entry of `colorIndex` (0..256), adding it to the recent colours when it has no entry.
    // Returns the entry's position, CB_ERR for an index out of range. No notification is sent.
    int SetColorIndex(int colorIndex);
    // The entry of `colorIndex`, or CB_ERR.
    int FindItemByColorIndex(int colorIndex) const;
    // Adds `colorIndex` to the recent colours unless it already has an entry; returns its position.
    int AddColorToMRU(int colorIndex);
    // The colour index of entry `item`, -1 when there is no such entry.
    int GetItemColorIndex(int item) const;
};

// Asks for a colour index on the command line, as the host's colour dialog does: a number 1..255,
// a standard colour name, or with `allowMetaColor` also 0 / "ByBlock" and 256 / "ByLayer". An empty
// answer keeps `colorIndex`. Returns false (and leaves `colorIndex`) when cancelled. `currentLayerColor`
// is what ByLayer stands for, shown in the prompt.
bool acedSetColorDialog(int& colorIndex, bool allowMetaColor, int currentLayerColor);

// The colour index of the drawing's current layer (7 when there is no drawing).
int getCurrentLayerColor();
