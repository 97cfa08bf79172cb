// The module's life: what its load and unload messages do, and the little state the module
// keeps between commands (dialog font, modeless dialog slots).
#pragma once
#include <memory>
#include "host/core/AcadTypes.h"

class CFont;
class CAdUiBaseDialog;

constexpr const ACHAR* kCommandGroup = L"TEMPLATE";
constexpr const ACHAR* kModuleFileName = L"Fendo17.arx";

// Load sequence: slope-symbol class, dialog font, commands, module folder.
void initApp();
// Unload sequence: commands, font, slope-symbol class, modeless dialogs.
void unloadApp();

// The dialog font shared by every dialog; null before load and after unload.
CFont* dialogFont();

// The three modeless dialog slots (HCTL's two slope-editing dialogs, EM's edit dialog).
enum class ModelessSlot { SlopeEdit1 = 0, SlopeEdit2 = 1, PickEdit = 2 };
// Hands the dialog to its slot; the slot owns it until it is released or the module unloads.
void setModelessDialog(ModelessSlot slot, CAdUiBaseDialog* dialog);
CAdUiBaseDialog* modelessDialog(ModelessSlot slot);
// Empties the slot without destroying the dialog (a dialog that closed itself).
void releaseModelessDialog(ModelessSlot slot);
// Destroys the slot's dialog, if any, and empties the slot.
void destroyModelessDialog(ModelessSlot slot);
