// The global geometric tolerance, defined once in the host library.
#include "host/ge/AcGeTol.h"

AcGeTol AcGeContext::gTol;
