// What a tray icon shows: the picture of its icon resource, or the framework's plain icon where
// it has none, fitted to the size a host gives it.
#include <gtest/gtest.h>

#include <string>

#include "platform/imaging/png_encode.h"
#include "platform/modules/module_registry.h"
#include "platform/shell/tray_picture.h"
#include "platform/winapi/windows.h"

namespace {

using platform::IconImage;
using platform::TrayPicture;

IconImage Image(int width, int height, std::vector<uint8_t> rgba) {
  return IconImage{width, height, std::move(rgba)};
}

std::vector<uint8_t> PixelAt(const TrayPicture& picture, int x, int y) {
  auto at = picture.rgba.begin() + (size_t(y) * picture.width + x) * 4;
  return std::vector<uint8_t>(at, at + 4);
}

const std::vector<uint8_t> kClear = {0, 0, 0, 0};

TEST(TrayPicture, SmallerSizesAverageThePremultipliedPixelsTheyCover) {
  // Opaque red beside transparent green, twice over: each half of the width becomes one pixel.
  IconImage image = Image(4, 1, {255, 0, 0, 255, 0, 255, 0, 0, 255, 0, 0, 255, 0, 255, 0, 0});
  TrayPicture picture = platform::FitPicture(image, 2, 2);
  ASSERT_EQ(picture.rgba.size(), 16u);
  // A 4 x 1 picture fits a 2 x 2 square as a 2 x 1 row; the odd row left over goes below it.
  EXPECT_EQ(PixelAt(picture, 0, 0), (std::vector<uint8_t>{128, 0, 0, 128}));
  EXPECT_EQ(PixelAt(picture, 1, 0), (std::vector<uint8_t>{128, 0, 0, 128}));
  EXPECT_EQ(PixelAt(picture, 0, 1), kClear);
}

TEST(TrayPicture, LargerSizesRepeatPixelsAndKeepTheProportions) {
  IconImage image = Image(2, 1, {10, 20, 30, 255, 40, 50, 60, 255});
  TrayPicture picture = platform::FitPicture(image, 4, 6);
  ASSERT_EQ(picture.width, 4);
  ASSERT_EQ(picture.height, 6);
  // Scaled by 2 to 4 x 2, centred in rows 2 and 3.
  for (int y : {0, 1, 4, 5}) EXPECT_EQ(PixelAt(picture, 0, y), kClear) << y;
  for (int y : {2, 3}) {
    EXPECT_EQ(PixelAt(picture, 1, y), (std::vector<uint8_t>{10, 20, 30, 255})) << y;
    EXPECT_EQ(PixelAt(picture, 2, y), (std::vector<uint8_t>{40, 50, 60, 255})) << y;
  }
}

TEST(TrayPicture, NoSizeOrNoImageGivesNothing) {
  IconImage image = Image(1, 1, {1, 2, 3, 255});
  EXPECT_TRUE(platform::FitPicture(image, 0, 24).rgba.empty());
  EXPECT_TRUE(platform::FitPicture(image, 24, -1).rgba.empty());
  EXPECT_TRUE(platform::FitPicture(IconImage{}, 24, 24).rgba.empty());
}

TEST(TrayPicture, IconsWithoutAPictureShowThePlainIcon) {
  IconImage plain = platform::PlainTrayIcon();
  TrayPicture expected = platform::FitPicture(plain, 24, 24);
  // Blue in the middle, transparent in the corners.
  EXPECT_EQ(PixelAt(expected, 12, 12), (std::vector<uint8_t>{32, 96, 192, 255}));
  EXPECT_EQ(PixelAt(expected, 0, 0), kClear);
  HMODULE program = GetModuleHandleA(nullptr);
  uintptr_t groupIcon = reinterpret_cast<uintptr_t>(RT_GROUP_ICON);
  const char notAnImage[] = "not an image";
  ASSERT_TRUE(platform::AddResource(program, groupIcon, 7001, notAnImage, sizeof notAnImage));
  for (HICON icon : {HICON(nullptr), LoadIconA(nullptr, IDI_APPLICATION),
                     LoadIconA(program, MAKEINTRESOURCEA(7001))}) {
    EXPECT_EQ(platform::TrayPictureOf(icon, 24, 24).rgba, expected.rgba);
  }
}

TEST(TrayPicture, AnIconResourceShowsItsOwnPicture) {
  const std::vector<uint8_t> rgba = {255, 128, 0, 255, 255, 128, 0, 255,
                                     255, 128, 0, 255, 0,   0,   0, 0};
  std::string png;
  ASSERT_TRUE(platform::imaging::EncodePng(rgba.data(), 2, 2, &png));
  HMODULE program = GetModuleHandleA(nullptr);
  uintptr_t groupIcon = reinterpret_cast<uintptr_t>(RT_GROUP_ICON);
  ASSERT_TRUE(platform::AddResource(program, groupIcon, 7002, png.data(), DWORD(png.size())));
  TrayPicture picture = platform::TrayPictureOf(LoadIconA(program, MAKEINTRESOURCEA(7002)), 4, 4);
  EXPECT_EQ(PixelAt(picture, 0, 0), (std::vector<uint8_t>{255, 128, 0, 255}));
  EXPECT_EQ(PixelAt(picture, 3, 3), kClear);
}

}  // namespace
