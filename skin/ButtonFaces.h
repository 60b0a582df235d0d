#pragma once
// The faces of a skinned button, one per frame of the "Buttons" push-button strip (the
// combo box's strips share the first four), and the one a button's state selects.

// Numbered as the frames of the strip, from 1.
enum class TButtonFace { Normal = 1, Pressed, Disabled, Hot, Default };

// What a button shows about itself; each later rule of ButtonFace outranks the earlier.
struct TButtonState {
    bool Focused = false;
    bool Default = false; // the default button of its window
    bool Hot = false;     // under the mouse
    bool Pressed = false; // held down by the mouse or the space key
    bool Enabled = true;
    bool Down = false; // latched down: shown pressed even when disabled
};

// Normal; focused shows hot; default; hot, or pressed over it; disabled; down.
TButtonFace ButtonFace(const TButtonState& state);

// The face's frame in its strip.
constexpr int FaceFrame(TButtonFace face) {
    return static_cast<int>(face);
}
