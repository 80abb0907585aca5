#include "scroll_bar_geometry.h"

#include <algorithm>
#include <climits>

namespace {

// Design sizes scale in single precision and truncate toward zero, like every other window.
int Scaled(int value, float scale)
{
    return static_cast<int>(static_cast<float>(value) * scale);
}

int ClampToInt(long long value, long long low, long long high)
{
    return static_cast<int>(std::clamp(value, low, high));
}

// A sub-range [start, start + length) of a rectangle along the bar's axis.
SkinRect AlongAxis(const SkinRect& rect, bool vertical, int start, int length)
{
    if (vertical)
        return {rect.x, rect.y + start, rect.width, length};
    return {rect.x + start, rect.y, length, rect.height};
}

int AxisLength(const SkinRect& rect, bool vertical)
{
    return vertical ? rect.height : rect.width;
}

}  // namespace

CScrollBarGeometry::CScrollBarGeometry(const ScrollBarMetrics& metrics) : m_metrics(metrics)
{
    const int cell = std::max(0, metrics.cell);
    const int length = std::max(0, metrics.length);
    m_nArrowSpan = Scaled(2 * cell, metrics.scale);
    m_nTrack = std::max(0, length - m_nArrowSpan);
    m_nRange = static_cast<long long>(metrics.maximum) - metrics.minimum + 1;

    // An empty or inverted range, or a page beyond the range, leaves nothing to scroll:
    // the thumb then fills the track instead of running past it.
    long long thumb = m_nRange > 0 ? static_cast<long long>(metrics.page) * m_nTrack / m_nRange
                                   : m_nTrack;
    thumb = std::min<long long>(thumb, m_nTrack);
    if (thumb < MinimumThumb())
        thumb = MinimumThumb();
    if (m_nTrack < MinimumThumb())
        thumb = 0;
    m_nHitThumb = static_cast<int>(thumb);

    const long long span = m_nRange - static_cast<long long>(metrics.page);
    m_nSpan = ClampToInt(span, 0, INT_MAX);
    m_nThumb = m_nSpan == 0 ? 0 : m_nHitThumb;

    m_nArrow = m_nTrack > 0 ? Scaled(cell, metrics.scale) : length / 2;
    m_nThickness = Scaled(cell, metrics.scale);
}

int CScrollBarGeometry::CurrentPosition() const
{
    return m_metrics.trackPosition == -1 ? m_metrics.position : m_metrics.trackPosition;
}

int CScrollBarGeometry::OffsetFor(int thumbLength) const
{
    const int freeTrack = std::max(0, m_nTrack - thumbLength);
    if (m_nSpan == 0)
        return freeTrack / 2;
    // Measured from the minimum, and kept on the track when a caller sets a position outside
    // the range.
    const long long fromMinimum =
        std::clamp<long long>(static_cast<long long>(CurrentPosition()) - m_metrics.minimum, 0,
                              m_nSpan);
    return static_cast<int>(freeTrack * fromMinimum / m_nSpan);
}

ScrollExtent CScrollBarGeometry::PartExtent(int part) const
{
    const int length = std::max(0, m_metrics.length);
    const int thumbStart = m_nArrow + ThumbOffset();
    const int thumbEnd = thumbStart + m_nThumb;
    switch (part) {
    case kScrollPartLineUp:
        return {0, m_nArrow};
    case kScrollPartPageUp:
        return {m_nArrow, thumbStart};
    case kScrollPartThumb:
        return {thumbStart, thumbEnd};
    case kScrollPartPageDown:
        return {thumbEnd, length - m_nArrow};
    default:
        return {length - m_nArrow, length};
    }
}

SkinRect CScrollBarGeometry::PartRect(int part, bool vertical) const
{
    const ScrollExtent extent = PartExtent(part);
    if (vertical)
        return {0, extent.start, m_nThickness, extent.Length()};
    return {extent.start, 0, extent.Length(), m_nThickness};
}

int CScrollBarGeometry::HitTest(int along) const
{
    if (along < 0)
        return kScrollPartNone;
    const int thumbStart = m_nArrow + OffsetFor(m_nHitThumb);
    if (along < m_nArrow)
        return kScrollPartLineUp;
    if (along < thumbStart)
        return kScrollPartPageUp;
    if (along < thumbStart + m_nHitThumb)
        return kScrollPartThumb;
    if (along < std::max(0, m_metrics.length) - m_nArrow)
        return kScrollPartPageDown;
    return kScrollPartLineDown;
}

int CScrollBarGeometry::DragPosition(int dragStartPosition, int delta) const
{
    const int freeTrack = m_nTrack - m_nHitThumb;
    const long long step =
        freeTrack <= 0 ? 0 : static_cast<long long>(m_nSpan) * delta / freeTrack;
    return ClampToInt(static_cast<long long>(dragStartPosition) + step, m_metrics.minimum,
                      static_cast<long long>(m_metrics.minimum) + m_nSpan);
}

SkinRect CScrollBarGeometry::SkinCell(int part, int row, bool vertical, int cell)
{
    int column = 0;
    switch (part) {
    case kScrollPartLineDown:
        column = 1;
        break;
    case kScrollPartThumb:
        column = 2;
        break;
    case kScrollPartPageUp:
    case kScrollPartPageDown:
        column = 3;
        break;
    default:
        column = 0;
        break;
    }
    if (!vertical)
        column += 4;
    return {column * cell, row * cell, cell, cell};
}

SkinRect CScrollBarGeometry::SizeBoxCell(int row, int cell)
{
    return {kSkinSizeBoxColumn * cell, row * cell, cell, cell};
}

std::vector<SkinBlit> CScrollBarGeometry::Tile(const SkinRect& dest, const SkinRect& source,
                                               float scale)
{
    std::vector<SkinBlit> tiles;
    const int tileWidth = Scaled(source.width, scale);
    const int tileHeight = Scaled(source.height, scale);
    // A tile that scales to nothing would never advance.
    if (dest.Empty() || source.Empty() || tileWidth <= 0 || tileHeight <= 0)
        return tiles;
    const int right = dest.x + dest.width;
    const int bottom = dest.y + dest.height;
    for (int y = dest.y; y < bottom; y += tileHeight) {
        for (int x = dest.x; x < right; x += tileWidth) {
            const SkinRect tile{x, y, std::min(tileWidth, right - x),
                                std::min(tileHeight, bottom - y)};
            tiles.push_back({tile, source});
        }
    }
    return tiles;
}

std::vector<SkinBlit> CScrollBarGeometry::ThumbPieces(const SkinRect& dest, const SkinRect& source,
                                                      bool vertical, int thumbBorder, float scale)
{
    std::vector<SkinBlit> pieces;
    if (dest.Empty() || source.Empty())
        return pieces;
    const int cap = thumbBorder + 3;
    const int destLength = AxisLength(dest, vertical);
    const int sourceLength = AxisLength(source, vertical);
    // Too short for two caps: the whole cell, squeezed.
    if (destLength < 2 * cap || sourceLength < 2 * cap) {
        pieces.push_back({dest, source});
        return pieces;
    }
    pieces.push_back({AlongAxis(dest, vertical, 0, cap), AlongAxis(source, vertical, 0, cap)});
    pieces.push_back({AlongAxis(dest, vertical, destLength - cap, cap),
                      AlongAxis(source, vertical, sourceLength - cap, cap)});
    const std::vector<SkinBlit> middle =
        Tile(AlongAxis(dest, vertical, cap, destLength - 2 * cap),
             AlongAxis(source, vertical, cap, sourceLength - 2 * cap), scale);
    pieces.insert(pieces.end(), middle.begin(), middle.end());
    return pieces;
}
