#include "skin/SkinControlMakers.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinComboEdit.h"

TSkinControl* MakeSkinControl(TSkinKind kind, TComponent* owner) {
    switch (kind) {
    case TSkinKind::Button: return new TSkinButton(owner);
    case TSkinKind::BitButton: return new TSkinBitButton(owner);
    case TSkinKind::CheckBox: return new TSkinCheckBox(owner);
    case TSkinKind::RadioButton: return new TSkinRadioButton(owner);
    case TSkinKind::ComBox: return new TSkinComBox(owner);
    case TSkinKind::Edit: return new TSkinEdit(owner);
    case TSkinKind::Box: return new TSkinBox(owner);
    case TSkinKind::BoxH: return new TSkinBoxH(owner);
    case TSkinKind::GroupBox: return new TSkinGroupBox(owner);
    // Tabs, scroll bars, list views, up-down buttons, progress and track bars.
    case TSkinKind::Tab:
    case TSkinKind::Tab31:
    case TSkinKind::TabSheet:
    case TSkinKind::TrackBar:
    case TSkinKind::UpDown:
    case TSkinKind::Progress:
    case TSkinKind::Scrollbar:
    case TSkinKind::ListView:
    case TSkinKind::Sizer: return nullptr;
    default: return nullptr;
    }
}
