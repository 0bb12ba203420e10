// The image files of tests/data/images, as the common tools write them (made by the script
// there), for the tests of every image loader: one 13 x 7 picture in each variant of BMP, TGA,
// PNG, JPEG, GIF, TIFF and icon files, each with the tool's own decode beside it (name.rgba, R,
// G, B, A bytes, top row first). Each variant either loads as that picture or is refused.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvtest {

constexpr int kVariantWidth = 13;
constexpr int kVariantHeight = 7;

struct ImageVariant {
  const char* file;
  bool loads;     // false: refused, the format variant is one the decoder does not take
  int tolerance;  // the largest difference from the tool's decode in any byte
  int trailer;    // bytes at the end the decoder never reads: a GIF's end byte, a TGA's
                  // footer, the padding after a TIFF's last page
};

// Decoders round differently: the step down to 8 bits of 16-bit PNG and TIFF, dividing out a
// TIFF's associated alpha, CMYK's conversion. JPEG's colour conversion and upsampling are
// libjpeg-turbo's here and in the tool alike, so its pixels match exactly.
inline const std::vector<ImageVariant>& ImageVariants() {
  static const std::vector<ImageVariant> variants = {
      {"bmp_1bit_bottom_up.bmp", true, 0, 0},
      {"bmp_1bit_top_down.bmp", true, 0, 0},
      {"bmp_4bit_bottom_up.bmp", true, 0, 0},
      {"bmp_4bit_top_down.bmp", true, 0, 0},
      {"bmp_8bit_bottom_up.bmp", true, 0, 0},
      {"bmp_8bit_top_down.bmp", true, 0, 0},
      {"bmp_8bit_rle.bmp", true, 0, 0},
      {"bmp_8bit_rle_runs.bmp", true, 0, 0},
      {"bmp_8bit_rle_skips.bmp", true, 0, 0},
      {"bmp_4bit_rle_runs.bmp", true, 0, 0},
      {"bmp_4bit_rle_skips.bmp", true, 0, 0},
      {"bmp_16bit_bitfields_bottom_up.bmp", true, 0, 0},
      {"bmp_16bit_bitfields_top_down.bmp", true, 0, 0},
      {"bmp_24bit_bottom_up.bmp", true, 0, 0},
      {"bmp_24bit_top_down.bmp", true, 0, 0},
      {"bmp_32bit_bottom_up.bmp", true, 0, 0},
      {"bmp_32bit_top_down.bmp", true, 0, 0},
      {"bmp_32bit_bitfields_bottom_up.bmp", true, 0, 0},
      {"bmp_32bit_bitfields_top_down.bmp", true, 0, 0},
      {"tga_bottom_left.tga", true, 0, 26},
      {"tga_top_left.tga", true, 0, 26},
      {"tga_bottom_right.tga", true, 0, 26},
      {"tga_top_right.tga", true, 0, 26},
      {"tga_alpha.tga", true, 0, 26},
      {"tga_grey.tga", true, 0, 26},
      {"tga_colour_mapped.tga", true, 0, 26},
      {"tga_rle.tga", true, 0, 26},
      {"tga_rle_grey.tga", true, 0, 26},
      {"tga_rle_colour_mapped.tga", true, 0, 26},
      {"png_grey.png", true, 0, 0},
      {"png_grey_alpha.png", true, 0, 0},
      {"png_palette.png", true, 0, 0},
      {"png_palette_transparent.png", true, 0, 0},
      {"png_16bit.png", true, 1, 0},
      {"png_interlaced.png", true, 0, 0},
      {"jpeg_baseline.jpg", true, 0, 0},
      {"jpeg_progressive.jpg", true, 0, 0},
      {"gif_plain.gif", true, 0, 1},
      {"gif_transparent.gif", true, 0, 1},
      {"gif_interlaced.gif", true, 0, 1},
      {"tiff_none.tif", true, 0, 0},
      {"tiff_lzw.tif", true, 0, 0},
      {"tiff_deflate.tif", true, 0, 0},
      {"tiff_packbits.tif", true, 0, 0},
      {"tiff_jpeg.tif", true, 0, 0},
      {"tiff_1bit.tif", true, 0, 0},
      {"tiff_group4.tif", true, 0, 0},
      {"tiff_4bit_grey.tif", true, 0, 0},
      {"tiff_grey.tif", true, 0, 0},
      {"tiff_4bit_palette.tif", true, 0, 0},
      {"tiff_palette.tif", true, 0, 0},
      {"tiff_16bit.tif", true, 0, 0},
      {"tiff_alpha_unassociated.tif", true, 0, 0},
      {"tiff_alpha_associated.tif", true, 1, 0},
      {"tiff_cmyk.tif", true, 1, 0},
      {"tiff_tiled.tif", true, 0, 0},
      {"tiff_planar.tif", true, 0, 0},
      {"tiff_big_endian.tif", true, 0, 0},
      {"tiff_multipage.tif", true, 0, 0},
      {"tiff_pil_raw.tif", true, 0, 0},
      {"tiff_pil_alpha.tif", true, 0, 0},
      {"tiff_pil_lzw.tif", true, 0, 0},
      {"tiff_pil_alpha_deflate.tif", true, 0, 0},
      {"tiff_pil_packbits.tif", true, 0, 0},
      {"tiff_pil_jpeg.tif", true, 0, 0},
      {"tiff_pil_1bit.tif", true, 0, 0},
      {"tiff_pil_group4.tif", true, 0, 0},
      {"tiff_pil_grey.tif", true, 0, 0},
      {"tiff_pil_palette.tif", true, 0, 0},
      {"tiff_pil_cmyk.tif", true, 0, 0},
      {"tiff_pil_multipage.tif", true, 0, 10},
      {"ico_sizes.ico", true, 0, 0},
      {"ico_1bit.ico", true, 0, 0},
      {"ico_4bit.ico", true, 0, 0},
      {"ico_8bit.ico", true, 0, 0},
      {"ico_depths.ico", true, 0, 0},
      {"ico_pil_png.ico", true, 0, 0},
      {"ico_pil_bmp.ico", true, 0, 0},
  };
  return variants;
}

// JPEG files with one table spoilt (made by the same script): Huffman tables whose codes
// overfill their lengths or whose index is out of range, quantisation tables all zero, marked
// 16-bit inside an 8-bit length, or out of range. A loader refuses each or reads it as some
// picture of the file's sides; the first two are always refused.
inline const std::vector<const char*>& DamagedJpegs() {
  static const std::vector<const char*> files = {
      "jpeg_baseline_huffman_overfull.jpg",
      "jpeg_progressive_huffman_overfull.jpg",
      "jpeg_baseline_huffman_too_many_short.jpg",
      "jpeg_progressive_huffman_too_many_short.jpg",
      "jpeg_baseline_huffman_index.jpg",
      "jpeg_progressive_huffman_index.jpg",
      "jpeg_baseline_quant_zero.jpg",
      "jpeg_progressive_quant_zero.jpg",
      "jpeg_baseline_quant_16bit.jpg",
      "jpeg_progressive_quant_16bit.jpg",
      "jpeg_baseline_quant_index.jpg",
      "jpeg_progressive_quant_index.jpg",
  };
  return files;
}

// Whether the damaged file is one that no loader may read.
inline bool AlwaysRefused(const std::string& file) {
  return file.find("huffman_overfull") != std::string::npos ||
         file.find("huffman_too_many_short") != std::string::npos;
}

inline std::string VariantPath(const std::string& file) {
  return std::string(KV_TEST_IMAGES) + "/" + file;
}

inline std::vector<uint8_t> ReadVariant(const std::string& file) {
  std::ifstream in(VariantPath(file), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The tool's decode of the variant.
inline std::vector<uint8_t> VariantPicture(const ImageVariant& variant) {
  return ReadVariant(std::string(variant.file) + ".rgba");
}

// GIF, TIFF and icon files are read by the imaging calls only, not by the engine's texture loader.
inline bool OnlyImagingCallsRead(const ImageVariant& variant) {
  std::string file = variant.file;
  return file.rfind("gif_", 0) == 0 || file.rfind("tiff_", 0) == 0 || file.rfind("ico_", 0) == 0;
}

// Whether R, G, B, A pixels match the tool's decode within the variant's tolerance; pixels
// transparent in both match whatever their colour (formats keep none for them).
inline ::testing::AssertionResult SamePicture(const ImageVariant& variant,
                                              const std::vector<uint8_t>& got) {
  std::vector<uint8_t> want = VariantPicture(variant);
  if (want.size() != static_cast<size_t>(kVariantWidth * kVariantHeight * 4))
    return ::testing::AssertionFailure() << "no reference decode for " << variant.file;
  if (got.size() != want.size())
    return ::testing::AssertionFailure() << got.size() << " bytes, not " << want.size();
  for (size_t i = 0; i < want.size(); i += 4) {
    if (got[i + 3] == 0 && want[i + 3] == 0) continue;
    for (size_t c = 0; c < 4; ++c) {
      if (std::abs(got[i + c] - want[i + c]) > variant.tolerance) {
        int pixel = static_cast<int>(i / 4);
        return ::testing::AssertionFailure()
               << "pixel (" << pixel % kVariantWidth << ", " << pixel / kVariantWidth
               << ") channel " << c << " is " << int(got[i + c]) << ", not " << int(want[i + c]);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace kvtest
