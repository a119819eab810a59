#include <set>

#include "cmndlg/image_icon.h"
#include "tests/cmndlg/fixture.h"

using namespace cmndlg;

TEST_F(CmnDlgTest, PaintDrawsARaisedFrameInOrder) {
  dlg.Paint();
  EXPECT_EQ(container.log, (std::vector<std::string>{"DrawLine 35,0,35,36 16", "DrawLine 0,35,36,35 16",
                                                     "DrawLine 0,0,36,0 20", "DrawLine 0,0,0,36 20"}));
}

TEST_F(CmnDlgTest, PaintStopsAtTheFirstFailingLine) {
  container.failDrawLineCall = 2;
  EXPECT_EQ(RaisedNumber([&] { dlg.Paint(); }), fakes::kContainerFailure);
  EXPECT_EQ(container.log.size(), 2u);
}

TEST_F(CmnDlgTest, ResizeAlwaysGives36By36Pixels) {
  container.width = 1500.0f;  // proposed: 100 × 20 pixels
  container.height = 300.0f;
  dlg.Resize();
  EXPECT_EQ(container.width, 540.0f);
  EXPECT_EQ(container.height, 540.0f);

  container.twipsPerPixelX = 12.0f;
  container.twipsPerPixelY = 10.0f;
  dlg.Resize();
  EXPECT_EQ(container.width, 432.0f);
  EXPECT_EQ(container.height, 360.0f);
}

TEST_F(CmnDlgTest, AFailedWidthLeavesTheHeightUnset) {
  container.failSetWidth = true;
  EXPECT_EQ(RaisedNumber([&] { dlg.Resize(); }), fakes::kContainerFailure);
  EXPECT_FALSE(container.height.has_value());
}

TEST(ImageIcon, IsA32By32SixteenColourIconWithATransparentBorder) {
  const auto& rows = ImageIconRows();
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

  const std::string file = ImageIconFile();
  ASSERT_EQ(file.size(), 6u + 16 + 40 + 64 + 512 + 128);
  auto u16 = [&](size_t at) {
    return static_cast<uint8_t>(file[at]) | static_cast<uint8_t>(file[at + 1]) << 8;
  };
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(u16(at)) | static_cast<uint32_t>(u16(at + 2)) << 16;
  };
  EXPECT_EQ(u16(2), 1);    // icon
  EXPECT_EQ(u16(4), 1);    // one image
  EXPECT_EQ(file[6], 32);  // width
  EXPECT_EQ(file[8], 16);  // colours
  EXPECT_EQ(u16(12), 4);   // bits per pixel
  EXPECT_EQ(u32(14), 40u + 64 + 512 + 128);
  EXPECT_EQ(u32(18), 22u);                      // image offset
  EXPECT_EQ(u32(22 + 8), 64u);                  // double height: colour image and mask
  EXPECT_EQ(u32(22 + 40 + 4 * 15), 0xFFFFFFu);  // palette entry 15, white
  // The bottom row is stored first; its first pixel is transparent, so mask bit set and colour 0.
  const size_t xorStart = 22 + 40 + 64;
  const size_t andStart = xorStart + 512;
  EXPECT_EQ(static_cast<uint8_t>(file[andStart]) & 0x80, 0x80);
  EXPECT_EQ(static_cast<uint8_t>(file[xorStart]) >> 4, 0);
  // Row 3 from the top (stored as row 28) starts "..00": mask 1100 and colours 0.
  EXPECT_EQ(static_cast<uint8_t>(file[andStart + 28 * 4]) >> 4, 0xC);
  // Row 5 from the top starts "..04FF": stored as row 26, bytes 1 and 2.
  EXPECT_EQ(static_cast<uint8_t>(file[xorStart + 26 * 16 + 1]), 0x04);
  EXPECT_EQ(static_cast<uint8_t>(file[xorStart + 26 * 16 + 2]), 0xFF);
}
