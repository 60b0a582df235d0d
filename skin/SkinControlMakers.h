#pragma once
// The kinds of skinned control the factories choose from, and the one place that
// makes the wrapper of a kind. A kind whose wrapper is not built makes nothing, and
// its control keeps the native look. Main thread.
#include "skin/SkinControl.h"

enum class TSkinKind {
    None,
    Button,
    BitButton,
    SpeedButton,
    CheckBox,
    RadioButton,
    ComBox,
    Edit,
    Box,
    BoxH,
    GroupBox,
    Tab,
    Tab31,
    TabSheet,
    TrackBar,
    UpDown,
    Progress,
    Scrollbar,
    ListView,
    Sizer,
    StatusBar,
    ListBars
};

// A new wrapper owned by owner (nullptr for a bare window), or nullptr (also for None).
TSkinControl* MakeSkinControl(TSkinKind kind, TComponent* owner);
