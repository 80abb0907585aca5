// The bar's arithmetic on the 13-pixel skin (117 x 39 bitmap).
#include <gtest/gtest.h>

#include <ostream>

#include "scroll_bar_geometry.h"

// Readable failures; found by argument lookup, so next to the types' namespace.
void PrintTo(const ScrollExtent& e, std::ostream* os)
{
    *os << "[" << e.start << ", " << e.end << ")";
}

void PrintTo(const SkinRect& r, std::ostream* os)
{
    *os << "{x " << r.x << ", y " << r.y << ", " << r.width << " x " << r.height << "}";
}

void PrintTo(const SkinBlit& b, std::ostream* os)
{
    PrintTo(b.dest, os);
    *os << " <- ";
    PrintTo(b.source, os);
}

namespace {

constexpr int kCell = 13;

ScrollBarMetrics Bar(int length, int minimum, int maximum, unsigned page, int position,
                     float scale = 1.0f)
{
    ScrollBarMetrics m;
    m.cell = kCell;
    m.length = length;
    m.scale = scale;
    m.minimum = minimum;
    m.maximum = maximum;
    m.page = page;
    m.position = position;
    return m;
}

struct LayoutCase {
    const char* name;
    ScrollBarMetrics metrics;
    int track;
    int thumbLength;
    ScrollExtent lineUp, pageUp, thumb, pageDown, lineDown;
    int thickness;
};

const LayoutCase kLayouts[] = {
    {"top of 0..99 page 10", Bar(200, 0, 99, 10, 0), 174, 17,
     {0, 13}, {13, 13}, {13, 30}, {30, 187}, {187, 200}, 13},
    {"largest position 90", Bar(200, 0, 99, 10, 90), 174, 17,
     {0, 13}, {13, 170}, {170, 187}, {187, 187}, {187, 200}, 13},
    {"middle position 45", Bar(200, 0, 99, 10, 45), 174, 17,
     {0, 13}, {13, 91}, {91, 108}, {108, 187}, {187, 200}, 13},
    {"content fits one page", Bar(200, 0, 9, 10, 0), 174, 0,
     {0, 13}, {13, 100}, {100, 100}, {100, 187}, {187, 200}, 13},
    {"page of 1 in 1000 keeps the minimum thumb", Bar(200, 0, 999, 1, 0), 174, 6,
     {0, 13}, {13, 13}, {13, 19}, {19, 187}, {187, 200}, 13},
    {"too short for a track", Bar(20, 0, 99, 10, 50), 0, 0,
     {0, 10}, {10, 10}, {10, 10}, {10, 10}, {10, 20}, 13},
    {"track shorter than the minimum thumb", Bar(30, 0, 99, 10, 0), 4, 0,
     {0, 13}, {13, 13}, {13, 13}, {13, 17}, {17, 30}, 13},
    {"scale 1.2 at the top", Bar(200, 0, 99, 10, 0, 1.2f), 169, 16,
     {0, 15}, {15, 15}, {15, 31}, {31, 185}, {185, 200}, 15},
    {"scale 1.2 at the largest position", Bar(200, 0, 99, 10, 90, 1.2f), 169, 16,
     {0, 15}, {15, 168}, {168, 184}, {184, 185}, {185, 200}, 15},
    // A range that does not start at 0 measures the position from its minimum.
    {"range 100..199 at its largest position", Bar(200, 100, 199, 10, 190), 174, 17,
     {0, 13}, {13, 170}, {170, 187}, {187, 187}, {187, 200}, 13},
    // A page larger than the range (as a control reports when its content is short).
    {"page beyond the range", Bar(200, 0, 4, 10, 0), 174, 0,
     {0, 13}, {13, 100}, {100, 100}, {100, 187}, {187, 200}, 13},
    {"position beyond the range stays on the track", Bar(200, 0, 99, 10, 500), 174, 17,
     {0, 13}, {13, 170}, {170, 187}, {187, 187}, {187, 200}, 13},
    {"no skin", [] { auto m = Bar(200, 0, 99, 10, 0); m.cell = 0; return m; }(), 200, 20,
     {0, 0}, {0, 0}, {0, 20}, {20, 200}, {200, 200}, 0},
};

TEST(ScrollBarGeometry, PartExtentsForTypicalAndEdgeStates)
{
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.name);
        const CScrollBarGeometry g(c.metrics);
        EXPECT_EQ(g.TrackLength(), c.track);
        EXPECT_EQ(g.ThumbLength(), c.thumbLength);
        EXPECT_EQ(g.PartExtent(kScrollPartLineUp), c.lineUp);
        EXPECT_EQ(g.PartExtent(kScrollPartPageUp), c.pageUp);
        EXPECT_EQ(g.PartExtent(kScrollPartThumb), c.thumb);
        EXPECT_EQ(g.PartExtent(kScrollPartPageDown), c.pageDown);
        EXPECT_EQ(g.PartExtent(kScrollPartLineDown), c.lineDown);
        EXPECT_EQ(g.Thickness(), c.thickness);
    }
}

TEST(ScrollBarGeometry, PartRectsFollowTheOrientation)
{
    const CScrollBarGeometry g(Bar(200, 0, 99, 10, 0));
    EXPECT_EQ(g.PartRect(kScrollPartThumb, true), (SkinRect{0, 13, 13, 17}));
    EXPECT_EQ(g.PartRect(kScrollPartThumb, false), (SkinRect{13, 0, 17, 13}));
    EXPECT_EQ(g.PartRect(kScrollPartLineDown, true), (SkinRect{0, 187, 13, 13}));
    // Any other code means the second arrow.
    EXPECT_EQ(g.PartRect(kScrollPartThumbPosition, false), (SkinRect{187, 0, 13, 13}));
}

struct HitCase {
    const char* name;
    ScrollBarMetrics metrics;
    int along;
    int part;
};

const HitCase kHits[] = {
    {"before the bar", Bar(200, 0, 99, 10, 0), -1, kScrollPartNone},
    {"first arrow start", Bar(200, 0, 99, 10, 0), 0, kScrollPartLineUp},
    {"first arrow end", Bar(200, 0, 99, 10, 0), 12, kScrollPartLineUp},
    {"thumb start at the top", Bar(200, 0, 99, 10, 0), 13, kScrollPartThumb},
    {"thumb end at the top", Bar(200, 0, 99, 10, 0), 29, kScrollPartThumb},
    {"track after the thumb", Bar(200, 0, 99, 10, 0), 30, kScrollPartPageDown},
    {"track end", Bar(200, 0, 99, 10, 0), 186, kScrollPartPageDown},
    {"second arrow", Bar(200, 0, 99, 10, 0), 187, kScrollPartLineDown},
    {"beyond the bar", Bar(200, 0, 99, 10, 0), 250, kScrollPartLineDown},
    {"track before a middle thumb", Bar(200, 0, 99, 10, 45), 90, kScrollPartPageUp},
    {"middle thumb start", Bar(200, 0, 99, 10, 45), 91, kScrollPartThumb},
    {"after a middle thumb", Bar(200, 0, 99, 10, 45), 108, kScrollPartPageDown},
    // Nothing to scroll: the undrawn thumb still covers the whole track for the mouse.
    {"content fits, track top", Bar(200, 0, 9, 10, 0), 13, kScrollPartThumb},
    {"content fits, track end", Bar(200, 0, 9, 10, 0), 186, kScrollPartThumb},
    {"no track, first half", Bar(20, 0, 99, 10, 0), 9, kScrollPartLineUp},
    {"no track, second half", Bar(20, 0, 99, 10, 0), 10, kScrollPartLineDown},
    {"scale 1.2 first arrow end", Bar(200, 0, 99, 10, 0, 1.2f), 14, kScrollPartLineUp},
    {"scale 1.2 thumb", Bar(200, 0, 99, 10, 0, 1.2f), 15, kScrollPartThumb},
    {"scale 1.2 second arrow", Bar(200, 0, 99, 10, 0, 1.2f), 185, kScrollPartLineDown},
};

TEST(ScrollBarGeometry, HitTestNamesThePartUnderThePoint)
{
    for (const HitCase& c : kHits) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CScrollBarGeometry(c.metrics).HitTest(c.along), c.part);
    }
}

struct DragCase {
    const char* name;
    ScrollBarMetrics metrics;
    int start;
    int delta;
    int expected;
};

const DragCase kDrags[] = {
    // Free track 157 pixels for 90 positions.
    {"one pixel is less than a position", Bar(200, 0, 99, 10, 0), 0, 1, 0},
    {"two pixels", Bar(200, 0, 99, 10, 0), 0, 2, 1},
    {"whole free track", Bar(200, 0, 99, 10, 0), 0, 157, 90},
    {"backwards rounds toward zero", Bar(200, 0, 99, 10, 45), 45, -10, 40},
    {"past the end stops at the largest position", Bar(200, 0, 99, 10, 0), 0, 1000, 90},
    {"before the start stops at the minimum", Bar(200, 0, 99, 10, 45), 45, -1000, 0},
    {"nothing to scroll", Bar(200, 0, 9, 10, 0), 0, 50, 0},
    {"no free track", Bar(20, 0, 99, 10, 0), 0, 5, 0},
    {"range from 100 stops at its own largest position", Bar(200, 100, 199, 10, 100), 100,
     1000, 190},
    {"range from 100 stops at its minimum", Bar(200, 100, 199, 10, 150), 150, -1000, 100},
    {"huge range does not overflow", Bar(200, 0, 2000000000, 10, 0), 0, 100,
     static_cast<int>(1999999991LL * 100 / 168)},
};

TEST(ScrollBarGeometry, DragPositionFollowsThePointerWithinTheRange)
{
    for (const DragCase& c : kDrags) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CScrollBarGeometry(c.metrics).DragPosition(c.start, c.delta), c.expected);
    }
}

TEST(ScrollBarGeometry, SkinCellsSitOnTheNineByThreeGrid)
{
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartLineUp, kSkinRowNormal, true, kCell),
              (SkinRect{0, 0, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartLineDown, kSkinRowHot, true, kCell),
              (SkinRect{13, 13, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartThumb, kSkinRowPressed, true, kCell),
              (SkinRect{26, 26, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartPageUp, kSkinRowNormal, true, kCell),
              (SkinRect{39, 0, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartPageDown, kSkinRowNormal, false, kCell),
              (SkinRect{91, 0, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartLineUp, kSkinRowPressed, false, kCell),
              (SkinRect{52, 26, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartThumb, kSkinRowHot, false, kCell),
              (SkinRect{78, 13, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SkinCell(kScrollPartNone, kSkinRowNormal, false, kCell),
              (SkinRect{52, 0, 13, 13}));
    EXPECT_EQ(CScrollBarGeometry::SizeBoxCell(1, kCell), (SkinRect{104, 13, 13, 13}));
}

TEST(ScrollBarGeometry, TilesFillTheRectangleAndCutTheLastOnes)
{
    const SkinRect track{39, 0, 13, 13};
    auto tiles = CScrollBarGeometry::Tile({0, 13, 13, 40}, track, 1.0f);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[0], (SkinBlit{{0, 13, 13, 13}, track}));
    EXPECT_EQ(tiles[2], (SkinBlit{{0, 39, 13, 13}, track}));
    EXPECT_EQ(tiles[3], (SkinBlit{{0, 52, 13, 1}, track}));

    // Row by row, each row left to right.
    tiles = CScrollBarGeometry::Tile({5, 0, 20, 15}, track, 1.0f);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[1].dest, (SkinRect{18, 0, 7, 13}));
    EXPECT_EQ(tiles[2].dest, (SkinRect{5, 13, 13, 2}));

    tiles = CScrollBarGeometry::Tile({0, 15, 15, 40}, track, 1.2f);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[1].dest, (SkinRect{0, 30, 15, 15}));
    EXPECT_EQ(tiles[2].dest, (SkinRect{0, 45, 15, 10}));

    EXPECT_TRUE(CScrollBarGeometry::Tile({0, 13, 13, 0}, track, 1.0f).empty());
    // A scale that shrinks the tile to nothing must not spin forever.
    EXPECT_TRUE(CScrollBarGeometry::Tile({0, 13, 13, 40}, track, 0.01f).empty());
}

TEST(ScrollBarGeometry, ThumbGetsFixedCapsAndATiledMiddle)
{
    const SkinRect cell = CScrollBarGeometry::SkinCell(kScrollPartThumb, kSkinRowPressed, true,
                                                       kCell);
    auto pieces = CScrollBarGeometry::ThumbPieces({0, 13, 13, 17}, cell, true, 0, 1.0f);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], (SkinBlit{{0, 13, 13, 3}, {26, 26, 13, 3}}));
    EXPECT_EQ(pieces[1], (SkinBlit{{0, 27, 13, 3}, {26, 36, 13, 3}}));
    EXPECT_EQ(pieces[2], (SkinBlit{{0, 16, 13, 7}, {26, 29, 13, 7}}));
    EXPECT_EQ(pieces[3], (SkinBlit{{0, 23, 13, 4}, {26, 29, 13, 7}}));

    const SkinRect hcell = CScrollBarGeometry::SkinCell(kScrollPartThumb, kSkinRowNormal, false,
                                                        kCell);
    pieces = CScrollBarGeometry::ThumbPieces({13, 0, 6, 13}, hcell, false, 0, 1.0f);
    ASSERT_EQ(pieces.size(), 2u);  // the minimum thumb is all caps
    EXPECT_EQ(pieces[0], (SkinBlit{{13, 0, 3, 13}, {78, 0, 3, 13}}));
    EXPECT_EQ(pieces[1], (SkinBlit{{16, 0, 3, 13}, {88, 0, 3, 13}}));

    // A wider border widens the caps.
    pieces = CScrollBarGeometry::ThumbPieces({0, 0, 13, 20}, cell, true, 1, 1.0f);
    EXPECT_EQ(pieces[0].dest, (SkinRect{0, 0, 13, 4}));
    EXPECT_EQ(pieces[1].source, (SkinRect{26, 35, 13, 4}));

    EXPECT_TRUE(CScrollBarGeometry::ThumbPieces({0, 13, 13, 0}, cell, true, 0, 1.0f).empty());
}

}  // namespace
