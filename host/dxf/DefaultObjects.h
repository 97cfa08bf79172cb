// Objects every saved drawing needs in its OBJECTS section beyond the tables: the layouts
// of model space and paper space, and the plot style dictionary.
#pragma once

class AcDbDatabase;

namespace fendo::dxf {

// Adds the LAYOUT objects "Model" and "Layout1" (linked to *Model_Space and *Paper_Space
// both ways and listed in ACAD_LAYOUT) and ACAD_PLOTSTYLENAME with its "Normal" entry,
// each only when the drawing lacks it. The named object dictionary must exist.
void addDefaultLayouts(AcDbDatabase& db);

}  // namespace fendo::dxf
