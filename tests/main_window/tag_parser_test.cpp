#include "main_window/tag_parser.h"

#include <gtest/gtest.h>

#include "main_window/control_layout.h"
#include "support/redraw_flags.h"

namespace {

TEST(TagParser, ReadsEveryFlagBoxTagAsTheFlagItNames) {
  for (const auto& [value, caption] : RedrawFlags) {
    int matches = 0;
    for (const FlagBox& box : Check1Boxes) {
      if (std::string_view(box.Caption) != caption) continue;
      ++matches;
      EXPECT_EQ(ParseTag(box.Tag), value) << caption;
    }
    EXPECT_EQ(matches, 1) << caption;
  }
}

TEST(TagParser, ReadsEightDigitsAsASigned32BitWord) {
  EXPECT_EQ(ParseTag("&H0"), 0);
  EXPECT_EQ(ParseTag("&H7FFFFFFF"), 0x7FFFFFFF);
  EXPECT_EQ(ParseTag("&HFFFFFFFF"), -1);
  EXPECT_EQ(ParseTag("&H80000000"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseTag("&Hff"), 0xFF);
}

TEST(TagParser, RejectsWhatIsNotAHexadecimalTag) {
  for (const std::string_view bad : {"", "&H", "4", "H4", "&h4", "&H4G", "&H 4", "&H-1", "&H123456789"}) {
    EXPECT_EQ(ParseTag(bad), std::nullopt) << bad;
  }
}

}  // namespace
