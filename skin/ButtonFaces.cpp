#include "skin/ButtonFaces.h"

TButtonFace ButtonFace(const TButtonState& state) {
    if (state.Down) return TButtonFace::Pressed;
    if (!state.Enabled) return TButtonFace::Disabled;
    if (state.Pressed) return TButtonFace::Pressed;
    if (state.Hot) return TButtonFace::Hot;
    if (state.Default) return TButtonFace::Default;
    if (state.Focused) return TButtonFace::Hot;
    return TButtonFace::Normal;
}
