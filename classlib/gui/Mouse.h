#pragma once
// Mouse buttons and the shift state of mouse and key events.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned; // ss* flags

// The shift state of a mouse message's key flags (MK_*), Alt from the keyboard.
TShiftState KeysToShiftState(unsigned keys);
// The shift state of a key message: Alt from its key data (bit 29), Shift and Ctrl
// from the keyboard.
TShiftState KeyDataToShiftState(long keyData);
