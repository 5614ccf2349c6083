#include "main_window/tag_parser.h"

#include <gtest/gtest.h>

#include "main_window/control_layout.h"

namespace {

TEST(TagParser, ReadsEveryFlagBoxTagAsTheFlagItNames) {
  // The platform's values for the flags the captions name.
  const std::pair<std::string_view, std::int32_t> flags[] = {
      {"RDW_INVALIDATE", 0x0001}, {"RDW_INTERNALPAINT", 0x0002},   {"RDW_ERASE", 0x0004},
      {"RDW_VALIDATE", 0x0008},   {"RDW_NOINTERNALPAINT", 0x0010}, {"RDW_NOERASE", 0x0020},
      {"RDW_NOCHILDREN", 0x0040}, {"RDW_ALLCHILDREN", 0x0080},     {"RDW_UPDATENOW", 0x0100},
      {"RDW_ERASENOW", 0x0200},   {"RDW_FRAME", 0x0400},           {"RDW_NOFRAME", 0x0800},
  };
  for (const auto& [caption, value] : flags) {
    int matches = 0;
    for (const FlagBox& box : Check1Boxes) {
      if (box.Caption != caption) continue;
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
