#pragma once
// The fixed notices the register prints, as print blocks (CP866 lines).

#include "printing/print_layout.h"

namespace printing {

// "(КОПИЯ)" in the small font, centred and bold: the head of a reprinted
// document.
PrintBlock copyMarkerBlock();

// The six-line warning printed at start-up while the internal storage is
// being formed: large font, centred, bold, double size. It is printed on
// its own and rendered with the cut.
PrintBlock storageWarningBlock();

}  // namespace printing
