// Dialog templates as a loadable module carries them: caption, size and controls, with every text in
// the module's own 8-bit form. The dialog framework builds windows from them.
#pragma once

#include <vector>

// What a control is; the window class follows from it (see windowClassOf).
enum class ControlKind {
    PushButton,
    DefPushButton,  // the button that Enter presses
    CheckBox,
    RadioButton,
    GroupBox,
    Label,
    Edit,
    ComboBox,
    ListBox,
    Picture,       // shows the image resource `imageId`
    ColorCombo,    // the host's colour combo box
    HatchPreview,  // the host's hatch-pattern preview control
};

// Style bits of a control; combine with operator|.
enum class ControlStyle : unsigned {
    None = 0,
    GroupStart = 1u << 0,    // first control of a group (radio buttons, tab order)
    Disabled = 1u << 1,      // starts disabled
    ReadOnly = 1u << 2,      // edit box the user cannot type into
    Sorted = 1u << 3,        // list or combo box keeps its entries sorted
    Notify = 1u << 4,        // list box reports selection changes
    DropDown = 1u << 5,      // combo box with free typing
    DropDownList = 1u << 6,  // combo box that only offers its list
};

constexpr ControlStyle operator|(ControlStyle a, ControlStyle b)
{
    return static_cast<ControlStyle>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool hasStyle(ControlStyle set, ControlStyle flag)
{
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

// Position and size in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    const char* text = "";  // stored 8-bit text as the module keeps it
    DialogRect rect;
    ControlStyle style = ControlStyle::None;
    std::vector<const char*> items;  // initial entries of a list or combo box, stored 8-bit text
    int imageId = 0;                 // image resource shown by a picture or icon button; 0 for none
    int tooltipStringId = 0;         // string-table entry shown as tool tip; 0 for none
};

// The window class a control of `kind` is made with: "Button", "Static", "Edit", "ComboBox", "ListBox",
// or the host's own class for its custom controls.
const char* windowClassOf(ControlKind kind);

struct DialogTemplate {
    int id = 0;
    const char* caption = "";  // stored 8-bit text as the module keeps it
    int width = 0;             // dialog units
    int height = 0;
    std::vector<ControlTemplate> controls;

    // The control with `controlId`, or null.
    const ControlTemplate* findControl(int controlId) const;
};
