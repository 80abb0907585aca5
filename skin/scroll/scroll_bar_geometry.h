#pragma once
// Where the parts of a skinned scroll bar lie and which pieces of the skin paint them.
// Kept free of windows so the bar and its tests share one arithmetic.
#include <vector>

// The standard scroll codes; they also name the regions of the bar.
constexpr int kScrollPartNone = -1;
constexpr int kScrollPartLineUp = 0;
constexpr int kScrollPartLineDown = 1;
constexpr int kScrollPartPageUp = 2;
constexpr int kScrollPartPageDown = 3;
constexpr int kScrollPartThumbPosition = 4;
constexpr int kScrollPartThumb = 5;

// Rows of the skin grid.
constexpr int kSkinRowNormal = 0;
constexpr int kSkinRowHot = 1;
constexpr int kSkinRowPressed = 2;

// The skin is a grid of this many square cells across; the last column is the size box.
constexpr int kSkinColumns = 9;
constexpr int kSkinSizeBoxColumn = 8;

// [start, end) along the bar's axis.
struct ScrollExtent {
    int start = 0;
    int end = 0;

    int Length() const { return end > start ? end - start : 0; }
    bool Contains(int value) const { return value >= start && value < end; }
    bool operator==(const ScrollExtent&) const = default;
};

// A rectangle in the blitting convention: origin and size.
struct SkinRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
    bool operator==(const SkinRect&) const = default;
};

// One stretched copy from the skin to the bar.
struct SkinBlit {
    SkinRect dest;
    SkinRect source;
    bool operator==(const SkinBlit&) const = default;
};

// Everything the geometry depends on: the skin's cell, the bar's extent and its scroll state.
struct ScrollBarMetrics {
    int cell = 0;            // skin width / 9; 0 without a skin
    int length = 0;          // client extent along the axis
    float scale = 1.0f;
    int thumbBorder = 0;
    int minimum = 0;
    int maximum = 0;
    unsigned page = 0;
    int position = 0;
    int trackPosition = -1;  // -1 while no drag is in progress
};

class CScrollBarGeometry {
public:
    explicit CScrollBarGeometry(const ScrollBarMetrics& metrics);

    int ArrowSpan() const { return m_nArrowSpan; }
    int TrackLength() const { return m_nTrack; }
    long long Range() const { return m_nRange; }
    int MinimumThumb() const { return 2 * m_metrics.thumbBorder + 6; }
    // The thumb as hit-tested and dragged; it keeps its length even with nothing to scroll.
    int HitThumbLength() const { return m_nHitThumb; }
    // The thumb as drawn: none when the content fits into one page.
    int ThumbLength() const { return m_nThumb; }
    int ScrollSpan() const { return m_nSpan; }
    int FreeTrack() const { return m_nTrack - m_nThumb; }
    int ArrowLength() const { return m_nArrow; }
    int CurrentPosition() const;
    int LargestPosition() const { return m_metrics.minimum + m_nSpan; }
    int ThumbOffset() const { return OffsetFor(m_nThumb); }
    int Thickness() const { return m_nThickness; }

    ScrollExtent PartExtent(int part) const;
    // The part's rectangle in client coordinates of a vertical or horizontal bar.
    SkinRect PartRect(int part, bool vertical) const;
    // along = the point's coordinate on the bar's axis.
    int HitTest(int along) const;
    // The position a thumb drag reaches after moving delta pixels from where it started.
    int DragPosition(int dragStartPosition, int delta) const;

    // The skin cell painting a part in a look (row).
    static SkinRect SkinCell(int part, int row, bool vertical, int cell);
    static SkinRect SizeBoxCell(int row, int cell);
    // Tiles of the scaled source size from the top-left corner, the last ones cut to fit;
    // each tile receives the whole source stretched to it.
    static std::vector<SkinBlit> Tile(const SkinRect& dest, const SkinRect& source, float scale);
    // Fixed caps at both ends of the thumb and the cell's middle tiled between them.
    static std::vector<SkinBlit> ThumbPieces(const SkinRect& dest, const SkinRect& source,
                                             bool vertical, int thumbBorder, float scale);

private:
    int OffsetFor(int thumbLength) const;

    ScrollBarMetrics m_metrics;
    int m_nArrowSpan = 0;
    int m_nTrack = 0;
    long long m_nRange = 0;
    int m_nHitThumb = 0;
    int m_nThumb = 0;
    int m_nSpan = 0;
    int m_nArrow = 0;
    int m_nThickness = 0;
};
