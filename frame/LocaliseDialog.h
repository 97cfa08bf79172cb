// The set-up every dialog of the module runs at the end of its initialisation: the module's dialog
// font, and the stored TCVN3 texts of its labels, buttons and caption decoded for display.
#pragma once

class CWnd;

// Gives the dialog and its children the module's dialog font and decodes the texts of its "Button" and
// "Static" children (read as 8-bit text, at most 127 bytes) and its caption (at most 63 bytes). Other
// children (edit, combo and list boxes) keep their texts. Does nothing for a null or closed dialog.
void LocaliseDialog(CWnd* dialog);
