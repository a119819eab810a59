// The toolbox icon's bytes: a 32 × 32, 16-colour icon with a transparent border.
#include <gtest/gtest.h>

#include <set>

#include "cmndlg/image_icon.h"

TEST(ImageIcon, IsA32By32SixteenColourIconWithATransparentBorder) {
  const auto& rows = cmndlg::ImageIconRows();
  std::set<char> used;
  for (std::string_view row : rows) {
    ASSERT_EQ(row.size(), 32u);
    for (char pixel : row) {
      EXPECT_TRUE(pixel == '.' || (pixel >= '0' && pixel <= '9') || (pixel >= 'A' && pixel <= 'F')) << pixel;
      used.insert(pixel);
    }
  }
  EXPECT_EQ(rows[0], std::string(32, '.'));
  EXPECT_GT(used.size(), 4u);

  const std::string file = cmndlg::ImageIconFile();
  ASSERT_EQ(file.size(), 6u + 16 + 40 + 64 + 512 + 128);
  auto u16 = [&](size_t at) { return uint8_t(file[at]) | uint8_t(file[at + 1]) << 8; };
  auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
  EXPECT_EQ(u16(2), 1);    // icon
  EXPECT_EQ(u16(4), 1);    // one image
  EXPECT_EQ(file[6], 32);  // width
  EXPECT_EQ(file[8], 16);  // colours
  EXPECT_EQ(u16(12), 4);   // bits per pixel
  EXPECT_EQ(u32(14), 40u + 64 + 512 + 128);
  EXPECT_EQ(u32(18), 22u);                      // image offset
  EXPECT_EQ(u32(22 + 8), 64u);                  // double height: colour image and mask
  EXPECT_EQ(u32(22 + 40 + 4 * 15), 0xFFFFFFu);  // palette entry 15, white
  // Rows are stored bottom first. The bottom row's first pixel is transparent: mask bit set, colour 0.
  const size_t xorStart = 22 + 40 + 64, andStart = xorStart + 512;
  EXPECT_EQ(uint8_t(file[andStart]) & 0x80, 0x80);
  EXPECT_EQ(uint8_t(file[xorStart]) >> 4, 0);
  // Row 3 from the top (stored as row 28) starts "..00": mask 1100 and colours 0.
  EXPECT_EQ(uint8_t(file[andStart + 28 * 4]) >> 4, 0xC);
  // Row 5 from the top starts "..04FF": stored as row 26, bytes 1 and 2.
  EXPECT_EQ(uint8_t(file[xorStart + 26 * 16 + 1]), 0x04);
  EXPECT_EQ(uint8_t(file[xorStart + 26 * 16 + 2]), 0xFF);
}
