// Handler of the pattern browser command.
#pragma once

// "TESTH": shows the pattern files beside the module in a list with a preview; the drawing is not
// touched.
void cmdTestHatch();
