#include "support/log_checker.h"

#include <gtest/gtest.h>

namespace {

const std::string Sound =
    "<000041> S WM_PAINT\r\n"
    "<000042> S WM_ERASEBKGND\r\n"
    "<000043> R WM_ERASEBKGND   lResult:  &H00000001\r\n"
    "<000044> R WM_PAINT   lResult:  &H00000000\r\n";

TEST(LogChecker, PassesASoundLogAndOneWithTheUsersEditsTakenOut) {
  EXPECT_TRUE(LogProblems(Sound, 41).empty());
  EXPECT_TRUE(LogProblems("", 1).empty());
  // "x" typed over "<0000" at the start, then "y" typed at the very end.
  std::string edited = Sound;
  edited.replace(0, 5, "x");
  edited += "y";
  EXPECT_TRUE(LogProblems(WithoutEdits(edited, {{0, "<0000"}, {edited.size() - 1, ""}}), 41).empty());
}

TEST(LogChecker, FindsEveryKindOfFault) {
  const auto faulty = [](const std::string& text) { return !LogProblems(text, 41).empty(); };
  const auto replaced = [](const std::string& from, const std::string& to) {
    std::string text = Sound;
    return text.replace(text.find(from), from.size(), to);
  };
  EXPECT_TRUE(faulty(replaced("<000042>", "<000043>"))) << "a gap";
  EXPECT_TRUE(faulty(replaced("<000042>", "<000041>"))) << "a repeat";
  EXPECT_TRUE(faulty(Sound.substr(0, Sound.size() - 2))) << "no CR LF at the end";
  EXPECT_TRUE(faulty(replaced("\r\n<000042>", "\n<000042>"))) << "a lone LF";
  EXPECT_TRUE(faulty(replaced("&H00000001", "&H0000001"))) << "seven digits";
  EXPECT_TRUE(faulty(replaced("&H00000001", "&H0000000a"))) << "lower case";
  EXPECT_TRUE(faulty(replaced(" S WM_PAINT", "  S WM_PAINT"))) << "malformed";
  EXPECT_TRUE(faulty(replaced("R WM_ERASEBKGND", "R WM_NCPAINT"))) << "R names another message";
  EXPECT_TRUE(faulty(replaced("<00004", "<0004"))) << "five digits";
  EXPECT_TRUE(faulty(Sound.substr(0, Sound.find("<000044>")))) << "an S never closed";
}

}  // namespace
