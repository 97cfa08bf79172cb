// Window classes of template controls and control lookup.
#include "host/dialogs/DialogTemplate.h"

const char* windowClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
        return "Button";
    case ControlKind::Label:
    case ControlKind::Picture:
        return "Static";
    case ControlKind::Edit:
        return "Edit";
    case ControlKind::ComboBox:
    case ControlKind::ColorCombo:
        return "ComboBox";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::HatchPreview:
        return "AcHatchPreview";
    }
    return "Static";
}

const ControlTemplate* DialogTemplate::findControl(int controlId) const
{
    for (const ControlTemplate& control : controls)
        if (control.id == controlId)
            return &control;
    return nullptr;
}
