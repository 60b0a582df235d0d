#pragma once
// Picture and colour routines shared by the skin loaders and painters: loading a
// skin member's .bmp bytes, greying, mirroring, flipping and rotating bitmaps,
// blending colours and two-colour gradients through a small ramp cache. Main thread.
#include "classlib/gui/Bitmap.h"
#include <string_view>

// Reads a 24- or 32-bit uncompressed .bmp held in memory; false (bitmap emptied) for
// anything else or for bytes that do not hold the whole picture.
bool LoadBitmapFromBytes(TBitmap& bitmap, std::string_view bytes);

void GrayBitmap(TBitmap& bitmap);
void MirrorBitmap(TBitmap& bitmap);    // left to right
void FlipBitmap(TBitmap& bitmap);      // top to bottom
void RotateBitmapCCW(TBitmap& bitmap); // a quarter turn counter-clockwise
void RotateBitmapCW(TBitmap& bitmap);

// Blends C1 into C2 by P: per cent below 100, else per mille (P is clamped to 1000).
TColor MixColor(TColor c1, TColor c2, int p);
// Direction 0: columns left to right; 1: rows top to bottom. Only visible lines are drawn.
void GradientFill(HDC dc, const RECT& rect, TColor startColor, TColor endColor, int direction);
