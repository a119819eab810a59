// The image list's pictures and the window icon as data: sizes, palette, keys and order.
#include <gtest/gtest.h>

#include <set>

#include "resources/tree_pictures.h"

namespace {

void ExpectWellFormed(const resources::PixelArt& art, int32_t size) {
  ASSERT_EQ(art.Size(), size) << art.key;
  bool drawn = false;
  for (const auto row : art.rows) {
    ASSERT_EQ(static_cast<int32_t>(row.size()), size) << art.key;
    for (const char pixel : row) {
      EXPECT_TRUE(resources::InPalette(pixel)) << art.key << ": '" << pixel << "'";
      if (pixel == resources::kMaskPixel) continue;
      drawn = true;
      // A drawn pixel of the mask colour would vanish.
      EXPECT_NE(resources::PaletteColour(pixel), resources::kMaskColour) << art.key << ": '" << pixel << "'";
    }
  }
  EXPECT_TRUE(drawn) << art.key;
}

TEST(TreePictures, FourteenPicturesOfSixteenPixelsInTheirFixedOrderAndTheWindowIcon) {
  const std::vector<std::string> keys{"StandardEXE",  "ActiveXEXE",  "ActiveXDLL",  "ActiveXControl",
                                      "FolderC",      "FolderO",     "Form",        "MDIForm",
                                      "Module",       "ClassModule", "UserControl", "PropertyPage",
                                      "UserDocument", "Designer"};
  const auto& pictures = resources::TreePictures();
  ASSERT_EQ(pictures.size(), keys.size());
  std::set<std::vector<std::string_view>> distinct;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(pictures[i].key, keys[i]);
    ExpectWellFormed(pictures[i], 16);
    distinct.insert({pictures[i].rows.begin(), pictures[i].rows.end()});
  }
  EXPECT_EQ(distinct.size(), keys.size()) << "every role has a picture of its own";
  // The window icon comes in two sizes.
  ExpectWellFormed(resources::WindowIcon16(), 16);
  ExpectWellFormed(resources::WindowIcon32(), 32);
  EXPECT_EQ(resources::PaletteColour(resources::kMaskPixel), (resources::Rgb{192, 192, 192}))
      << "the mask is silver";
}

}  // namespace
