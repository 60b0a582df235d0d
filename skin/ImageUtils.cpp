#include "skin/ImageUtils.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

template <class T> bool ReadAt(std::string_view bytes, size_t offset, T& value) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

// Pixels of a bitmap, as 0x00RRGGBB values, row by row from the top.
std::vector<uint32_t> Pixels(const TBitmap& bitmap) {
    GdiFlush();
    std::vector<uint32_t> pixels(size_t(bitmap.Width()) * bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(&pixels[size_t(y) * bitmap.Width()], bitmap.ScanLine(y), bitmap.Width() * 4);
    return pixels;
}

// Remakes the bitmap w x h with pixel (x, y) taken from source index at(x, y).
template <class F> void Remap(TBitmap& bitmap, int w, int h, F at) {
    std::vector<uint32_t> source = Pixels(bitmap);
    bitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = source[at(x, y)];
    }
}

struct TRamp {
    int Length = 0;
    std::vector<COLORREF> Colors;
};
std::array<TRamp, 16> Ramps;
int NextRamp = 0;

int RampChannel(int a, int z, int n, int i) {
    int d = z - a;
    if (n == 1) return a + d / 2;
    return a + (d * i + (n - 1) / 2) / (n - 1);
}

const TRamp& FindRamp(int n, COLORREF a, COLORREF z) {
    for (int s = 15; s >= 0; --s)
        if (Ramps[s].Length == n && Ramps[s].Colors.front() == a && Ramps[s].Colors.back() == z)
            return Ramps[s];
    TRamp& ramp = Ramps[NextRamp];
    NextRamp = (NextRamp + 1) % 16;
    ramp.Length = n;
    ramp.Colors.resize(n);
    for (int i = 0; i < n; ++i)
        ramp.Colors[i] = RGB(RampChannel(GetRValue(a), GetRValue(z), n, i),
                             RampChannel(GetGValue(a), GetGValue(z), n, i),
                             RampChannel(GetBValue(a), GetBValue(z), n, i));
    return ramp;
}

} // namespace

bool LoadBitmapFromBytes(TBitmap& bitmap, std::string_view bytes) {
    bitmap.SetSize(0, 0);
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    if (!ReadAt(bytes, 0, file) || !ReadAt(bytes, sizeof(file), info)) return false;
    if (file.bfType != 0x4D42 || info.biSize < sizeof(info) || info.biPlanes != 1) return false;
    if (info.biCompression != BI_RGB || (info.biBitCount != 24 && info.biBitCount != 32))
        return false;
    const int64_t w = info.biWidth, h = info.biHeight < 0 ? -int64_t(info.biHeight) : info.biHeight;
    if (w < 1 || h < 1 || w > 16384 || h > 16384) return false;
    const int64_t bpp = info.biBitCount / 8, stride = (w * bpp + 3) & ~int64_t(3);
    if (file.bfOffBits > bytes.size() || int64_t(bytes.size() - file.bfOffBits) < stride * h)
        return false;
    bitmap.SetSize(int(w), int(h));
    const auto* bits = reinterpret_cast<const uint8_t*>(bytes.data()) + file.bfOffBits;
    for (int64_t y = 0; y < h; ++y) {
        const uint8_t* src = bits + (info.biHeight > 0 ? h - 1 - y : y) * stride;
        uint32_t* row = bitmap.ScanLine(int(y));
        for (int64_t x = 0; x < w; ++x, src += bpp)
            row[x] = src[0] | (src[1] << 8) | (uint32_t(src[2]) << 16);
    }
    return true;
}

void GrayBitmap(TBitmap& bitmap) {
    GdiFlush();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            uint32_t p = row[x], v = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
            row[x] = v | (v << 8) | (v << 16);
        }
    }
}

void MirrorBitmap(TBitmap& bitmap) {
    const int w = bitmap.Width();
    Remap(bitmap, w, bitmap.Height(), [w](int x, int y) { return size_t(y) * w + (w - 1 - x); });
}

void FlipBitmap(TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    Remap(bitmap, w, h, [w, h](int x, int y) { return size_t(h - 1 - y) * w + x; });
}

void RotateBitmapCCW(TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    // Result (x, y) is source (w - 1 - y, x).
    Remap(bitmap, h, w, [w](int x, int y) { return size_t(x) * w + (w - 1 - y); });
}

void RotateBitmapCW(TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    // Result (x, y) is source (y, h - 1 - x).
    Remap(bitmap, h, w, [w, h](int x, int y) { return size_t(h - 1 - x) * w + y; });
}

TColor MixColor(TColor c1, TColor c2, int p) {
    p = std::clamp(p, 0, 1000);
    COLORREF a = ColorToRGB(c1), b = ColorToRGB(c2);
    const int base = p < 100 ? 100 : 1000, half = base / 2;
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        result |= (((cb * (base - p) + ca * p + half) / base) & 0xFF) << shift;
    }
    return result;
}

void GradientFill(HDC dc, const RECT& rect, TColor startColor, TColor endColor, int direction) {
    if (!RectVisible(dc, &rect)) return;
    COLORREF a = ColorToRGB(startColor), z = ColorToRGB(endColor);
    RECT clip;
    GetClipBox(dc, &clip);
    const bool rows = direction == 1;
    const int first = rows ? rect.top : rect.left;
    const int n = rows ? rect.bottom - rect.top : rect.right - rect.left;
    if (n < 1) return;
    const TRamp& ramp = FindRamp(n, a, z);
    const int from = std::max<int>(0, (rows ? clip.top : clip.left) - first);
    const int to = std::min<int>(n, (rows ? clip.bottom : clip.right) - first);
    for (int i = from; i < to; ++i) {
        RECT line = rows ? RECT{rect.left, first + i, rect.right, first + i + 1}
                         : RECT{first + i, rect.top, first + i + 1, rect.bottom};
        TBrushHandle brush(CreateSolidBrush(ramp.Colors[i]));
        FillRect(dc, &line, brush.Get());
    }
}
