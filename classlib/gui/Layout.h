#pragma once
// Where controls go, in layout units: cells in rows and columns with named gaps, and
// bounds placed beside or below others. Layout units become pixels in ToPixels alone,
// the one point to follow the display's DPI from; at 96 DPI a unit is a pixel.

// Sizes and gaps that recur across the forms.
namespace Layout {
constexpr int Margin = 8; // from a page's or dialog's edge to its controls
constexpr int ButtonWidth = 75, ButtonHeight = 25;
constexpr int TallButtonHeight = 27; // the taller buttons of the program's pages
constexpr int EditHeight = 21, LabelHeight = 15, CheckHeight = 17;
constexpr int ButtonGap = 6; // between buttons side by side
constexpr int StackGap = 5;  // between buttons one below another
constexpr int LabelDrop = 4; // a label beside an edit stands this far below the edit's top
} // namespace Layout

struct TBounds {
    int Left, Top, Width, Height;
    [[nodiscard]] constexpr int Right() const { return Left + Width; }
    [[nodiscard]] constexpr int Bottom() const { return Top + Height; }
    // Bounds as wide as these, gap below them.
    [[nodiscard]] constexpr TBounds Below(int gap, int height) const {
        return {Left, Bottom() + gap, Width, height};
    }
    // Bounds as high as these, gap right of them.
    [[nodiscard]] constexpr TBounds After(int gap, int width) const {
        return {Right() + gap, Top, width, Height};
    }
    [[nodiscard]] constexpr TBounds Moved(int dx, int dy) const {
        return {Left + dx, Top + dy, Width, Height};
    }
    // The same place, width wide.
    [[nodiscard]] constexpr TBounds WithWidth(int width) const {
        return {Left, Top, width, Height};
    }
};

// Equal cells along one axis: the first starts at Start, each is Size long, Gap apart.
struct TTrack {
    int Start, Size, Gap = 0;
    [[nodiscard]] constexpr int At(int index) const { return Start + index * (Size + Gap); }
    // count cells whose last ends at end.
    [[nodiscard]] static constexpr TTrack EndingAt(int end, int count, int size, int gap) {
        return {end - count * size - (count - 1) * gap, size, gap};
    }
};

// Cells in columns and rows.
struct TGrid {
    TTrack Columns, Rows;
    [[nodiscard]] constexpr TBounds Cell(int column, int row) const {
        return {Columns.At(column), Rows.At(row), Columns.Size, Rows.Size};
    }
};

// The bounds between these edges.
constexpr TBounds FromEdges(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

// Cells side by side, gap apart.
constexpr TGrid Across(int left, int top, int width, int height, int gap) {
    return {{left, width, gap}, {top, height}};
}

// Cells one below another, gap apart.
constexpr TGrid Down(int left, int top, int width, int height, int gap) {
    return {{left, width}, {top, height, gap}};
}

// count buttons side by side, the last ending at right.
constexpr TGrid ButtonsEndingAt(int right, int top, int count, int width,
                                int gap = Layout::ButtonGap) {
    return {TTrack::EndingAt(right, count, width, gap), {top, Layout::ButtonHeight}};
}

// Layout units to pixels.
[[nodiscard]] TBounds ToPixels(const TBounds& units);
