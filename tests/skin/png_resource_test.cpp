// Pictures from the program's resources: every id decodes with its size, non-pictures fail
// without touching the slot, loads are independent, and nothing is left behind per load.
#include "skin/png_resource.h"

#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include "skin/png_image.h"

namespace {

struct PictureSize {
  UINT id, width, height;
};

// The picture table: id, width, height.
const PictureSize kPictures[] = {
    {131, 610, 461}, {132, 600, 450}, {133, 26, 34},   {134, 26, 34},   {135, 26, 34},   {136, 26, 34},
    {137, 260, 69},  {138, 260, 69},  {139, 260, 69},  {140, 260, 69},  {141, 410, 611}, {142, 400, 600},
    {143, 48, 16},   {144, 26, 34},   {145, 26, 34},   {146, 26, 34},   {147, 26, 34},   {148, 232, 132},
    {149, 204, 104}, {150, 26, 34},   {151, 26, 34},   {152, 26, 34},   {153, 26, 34},   {154, 330, 150},
    {155, 320, 140}, {156, 55, 24},   {157, 55, 24},   {158, 55, 24},   {159, 12, 12},   {160, 12, 12},
    {161, 12, 12},   {162, 55, 24},   {163, 55, 24},   {164, 55, 24},   {165, 55, 24},   {166, 55, 24},
    {167, 55, 24},   {168, 55, 24},   {169, 55, 24},   {170, 55, 24},   {171, 410, 479}, {172, 400, 468},
    {173, 12, 12},   {174, 12, 12},   {175, 12, 12},   {176, 12, 12},   {177, 259, 85},  {178, 259, 85},
    {179, 259, 85},  {180, 259, 85},  {181, 266, 60},  {182, 266, 60},  {183, 266, 60},  {184, 266, 60},
    {185, 541, 402}, {186, 266, 60},  {187, 266, 60},  {188, 266, 60},  {189, 266, 60},  {201, 191, 9},
    {202, 191, 9},   {203, 40, 20},   {204, 266, 60},  {205, 266, 60},  {206, 266, 60},  {207, 266, 60},
    {208, 58, 18},   {209, 58, 18},   {210, 58, 18},   {211, 58, 18},
};

// Draws the image onto a transparent 32-bit canvas and reads one pixel back.
Gdiplus::Color DrawnPixel(Gdiplus::Image* image, int x, int y) {
  Gdiplus::Bitmap canvas(static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                         PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&canvas);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    graphics.DrawImage(image, 0, 0, image->GetWidth(), image->GetHeight());
  }
  Gdiplus::Color color;
  canvas.GetPixel(x, y, &color);
  return color;
}

// Private memory committed by the process, found by walking its address space (the process
// memory counters do not report private bytes under every host).
SIZE_T CommittedPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* address = nullptr; VirtualQuery(address, &info, sizeof(info)) == sizeof(info);
       address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
  }
  return total;
}

}  // namespace

TEST(PngResource, EveryPictureLoadsWithItsSize) {
  for (const PictureSize& picture : kPictures) {
    CPngImage slot;
    ASSERT_TRUE(LoadPngResource(picture.id, slot)) << "picture " << picture.id;
    EXPECT_EQ(slot.Width(), picture.width) << "picture " << picture.id;
    EXPECT_EQ(slot.Height(), picture.height) << "picture " << picture.id;

    CPngImage button = LoadImageResource(PictureResourceModule(), picture.id, kPngResourceType);
    ASSERT_TRUE(button) << "picture " << picture.id;
    EXPECT_EQ(button.Width(), picture.width) << "picture " << picture.id;
    EXPECT_NE(button.Get(), slot.Get());
  }
}

TEST(PngResource, NonPicturesFailAndLeaveTheSlotAlone) {
  // Dialog ids, the scroll-bar bitmap (another resource type), ids beside the table.
  for (UINT id : {0u, 100u, 130u, 190u, 195u, 200u, 212u, 65535u}) {
    CPngImage empty;
    EXPECT_FALSE(LoadPngResource(id, empty)) << "id " << id;
    EXPECT_FALSE(empty) << "id " << id;

    CPngImage held;
    ASSERT_TRUE(LoadPngResource(159, held));
    Gdiplus::Image* before = held.Get();
    EXPECT_FALSE(LoadPngResource(id, held)) << "id " << id;
    EXPECT_EQ(held.Get(), before) << "id " << id;
    EXPECT_EQ(held.Width(), 12u);

    EXPECT_FALSE(LoadImageResource(PictureResourceModule(), id, kPngResourceType)) << "id " << id;
  }
  // The right id under the wrong type is not a picture either.
  EXPECT_FALSE(LoadImageResource(PictureResourceModule(), 131, RT_BITMAP));
}

TEST(PngResource, LoadsAreIndependentAndOutliveTheLoader) {
  CPngImage first, second;
  ASSERT_TRUE(LoadPngResource(155, first));
  ASSERT_TRUE(LoadPngResource(155, second));
  ASSERT_NE(first.Get(), second.Get());
  first.Reset();
  // The white message box of the prompt background, drawn opaque from the surviving copy.
  const Gdiplus::Color middle = DrawnPixel(second.Get(), 160, 70);
  EXPECT_EQ(middle.GetA(), 255);
  EXPECT_EQ(middle.GetR(), 255);
  EXPECT_EQ(middle.GetG(), 255);
  EXPECT_EQ(middle.GetB(), 255);
  // Per-pixel alpha survives decoding: the frame's outermost corner is see-through.
  CPngImage frame;
  ASSERT_TRUE(LoadPngResource(154, frame));
  EXPECT_LT(DrawnPixel(frame.Get(), 0, 0).GetA(), 16);
  EXPECT_EQ(DrawnPixel(frame.Get(), 165, 75).GetA(), 255);
}

TEST(PngResource, RepeatedLoadsLeaveNothingBehind) {
  auto loadAndDrop = [](int times) {
    for (int i = 0; i < times; ++i) {
      CPngImage a;
      ASSERT_TRUE(LoadPngResource(131, a));
      CPngImage b = LoadImageResource(PictureResourceModule(), 132, kPngResourceType);
      ASSERT_TRUE(b);
    }
  };
  loadAndDrop(20);  // let the heaps and the decoder reach their working size
  const SIZE_T before = CommittedPrivateBytes();
  loadAndDrop(300);
  const SIZE_T after = CommittedPrivateBytes();
  // A kept copy of the resource bytes would be about 180 KB per round: over 50 MB here.
  EXPECT_LT(after, before + 8u * 1024 * 1024) << "before " << before << ", after " << after;
}
