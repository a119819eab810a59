// The control's face: its fixed size in pixels, and the toolbox icon's bytes.
#include <set>

#include "cmndlg/image_icon.h"
#include "tests/cmndlg/fixture.h"

using namespace cmndlg;

TEST_F(CmnDlgTest, ResizeAlwaysGives36By36Pixels) {
  for (const auto& [x, y] : {std::pair{15.0f, 15.0f}, std::pair{12.0f, 10.0f}}) {
    container.twipsPerPixelX = x;
    container.twipsPerPixelY = y;
    container.width = 1500.0f;
    container.height = 300.0f;
    dlg.Resize();
    EXPECT_EQ(container.width, 36 * x);
    EXPECT_EQ(container.height, 36 * y);
  }
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

TEST_F(CmnDlgTest, ActionRunsTheMethodOfItsNumberAndIgnoresEveryOther) {
  const std::vector<std::pair<int32_t, std::vector<std::string>>> cases{
      {1, {"GetOpenFileNameA"}}, {2, {"GetSaveFileNameA"}}, {3, {"ChooseColorA"}}, {4, {"GetDeviceCaps", "ChooseFontA"}},
      {5, {"PrintDlgA"}},        {6, {"WinHelpA"}},         {0, {}},               {7, {}},
      {-1, {}},                  {2147483647, {}}};
  for (const auto& [action, calls] : cases) {
    dialogs.calls.clear();
    dlg.setAction(action);
    EXPECT_EQ(dialogs.calls, calls) << action;
  }
  EXPECT_TRUE(container.Announced().empty());
}
