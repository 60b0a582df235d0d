#include "skin/SkinControlMakers.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinComboEdit.h"
#include "skin/SkinListView.h"
#include "skin/SkinProgress.h"
#include "skin/SkinScrollBar.h"
#include "skin/SkinTabs.h"
#include "skin/SkinUpDown.h"

TSkinControl* MakeSkinControl(TSkinKind kind, TComponent* owner) {
    switch (kind) {
    case TSkinKind::Button: return new TSkinButton(owner);
    case TSkinKind::BitButton: return new TSkinBitButton(owner);
    case TSkinKind::SpeedButton: return new TSkinSpeedButton(owner);
    case TSkinKind::CheckBox: return new TSkinCheckBox(owner);
    case TSkinKind::RadioButton: return new TSkinRadioButton(owner);
    case TSkinKind::ComBox: return new TSkinComBox(owner);
    case TSkinKind::Edit: return new TSkinEdit(owner);
    case TSkinKind::Box: return new TSkinBox(owner);
    case TSkinKind::BoxH: return new TSkinBoxH(owner);
    case TSkinKind::GroupBox: return new TSkinGroupBox(owner);
    case TSkinKind::Tab: return new TSkinTab(owner);
    case TSkinKind::TabSheet: return new TSkinTabSheet(owner);
    case TSkinKind::TrackBar: return new TSkinTrackBar(owner);
    case TSkinKind::UpDown: return new TSkinUpDown(owner);
    case TSkinKind::Progress: return new TSkinProgress(owner);
    case TSkinKind::Scrollbar: return new TSkinScrollbar(owner);
    case TSkinKind::ListView: return new TSkinListView(owner);
    case TSkinKind::Sizer: return new TSkinSizer(owner);
    case TSkinKind::StatusBar: return new TSkinStatusBar(owner);
    case TSkinKind::ListBars: return new TSkinScrollbarH(owner);
    case TSkinKind::Tab31: return new TSkinTab31(owner);
    default: return nullptr;
    }
}
