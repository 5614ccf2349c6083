#include "paint_trace/trace_lines.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Module1::FormatReturnLine;
using Module1::FormatSendLine;
using Module1::TracedMessageName;

TEST(TraceLines, SendLinePadsTheNumberToSixDigits) {
  EXPECT_EQ(FormatSendLine(1, "WM_PAINT"), "<000001> S WM_PAINT");
  EXPECT_EQ(FormatSendLine(42, "WM_NCPAINT"), "<000042> S WM_NCPAINT");
  EXPECT_EQ(FormatSendLine(999999, "WM_ERASEBKGND"), "<999999> S WM_ERASEBKGND");
}

TEST(TraceLines, NumbersPastSixDigitsAreNeverCut) {
  EXPECT_EQ(FormatSendLine(1000000, "WM_PAINT"), "<1000000> S WM_PAINT");
  EXPECT_EQ(FormatReturnLine(std::numeric_limits<std::int32_t>::max(), "WM_PAINT", 0),
            "<2147483647> R WM_PAINT   lResult:  &H00000000");
}

TEST(TraceLines, ReturnLineWritesTheResultAsEightUpperCaseHexDigits) {
  EXPECT_EQ(FormatReturnLine(2, "WM_ERASEBKGND", 1), "<000002> R WM_ERASEBKGND   lResult:  &H00000001");
  EXPECT_EQ(FormatReturnLine(2, "WM_PAINT", 0), "<000002> R WM_PAINT   lResult:  &H00000000");
  EXPECT_EQ(FormatReturnLine(2, "WM_NCPAINT", -1), "<000002> R WM_NCPAINT   lResult:  &HFFFFFFFF");
  EXPECT_EQ(FormatReturnLine(2, "WM_PAINT", 0x00ABCDEF), "<000002> R WM_PAINT   lResult:  &H00ABCDEF");
  EXPECT_EQ(FormatReturnLine(2, "WM_PAINT", std::numeric_limits<std::int32_t>::min()),
            "<000002> R WM_PAINT   lResult:  &H80000000");
}

TEST(TraceLines, OnlyThePaintMessagesHaveNames) {
  EXPECT_EQ(TracedMessageName(0x000F), "WM_PAINT");
  EXPECT_EQ(TracedMessageName(0x0014), "WM_ERASEBKGND");
  EXPECT_EQ(TracedMessageName(0x0085), "WM_NCPAINT");
  // Neighbours and look-alikes: WM_NULL, WM_SETREDRAW, WM_SYNCPAINT, WM_NCCALCSIZE, WM_PRINTCLIENT, WM_CTLCOLOREDIT.
  for (const unsigned int untraced : {0x0000u, 0x000Bu, 0x0088u, 0x0083u, 0x0318u, 0x0133u, 0x1000Fu}) {
    EXPECT_TRUE(TracedMessageName(untraced).empty()) << untraced;
  }
}

// A line the user typed or cut tells no story: only the formats' own text reads as a trace line.
TEST(TraceLines, OnlyAWholeLineOfEitherFormatReadsAsATraceLine) {
  const auto send = Module1::ParseTraceLine("<000017> S WM_ERASEBKGND");
  ASSERT_TRUE(send.has_value());
  EXPECT_EQ(send->Number, 17);
  EXPECT_FALSE(send->Returned);
  EXPECT_EQ(send->Message, 0x0014u);
  const auto back = Module1::ParseTraceLine("<2147483647> R WM_NCPAINT   lResult:  &HFFFFFFFF");
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->Number, std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(back->Returned);
  EXPECT_EQ(back->Message, 0x0085u);
  EXPECT_EQ(back->Result, -1);
  for (const char* other :
       {"", "hello", "<000017> S WM_PAIN", "000017> S WM_PAINT", "<000017> S WM_PAINT ", "<17> S WM_PAINT",
        "<000017> X WM_PAINT", "<000017> S WM_SYNCPAINT", "<000018> R WM_PAINT   lResult:  &H0000000",
        "<000018> R WM_PAINT   lResult:  &H0000000g", "<-00017> S WM_PAINT", "<000017> R WM_PAINT"}) {
    EXPECT_FALSE(Module1::ParseTraceLine(other).has_value()) << '"' << other << '"';
  }
}

}  // namespace
