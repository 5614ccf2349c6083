// Every control of the form: kind, caption, position in twips, tab order.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "main_window/tag_parser.h"

enum class ControlKind { CheckBox, LogBox, GroupFrame, PushButton, TextBox, OptionButton };

enum class ParentWindow { Form, Frame1 };

enum ControlId : int {
  Check1Id = 100,  // Check1(index) has the ID Check1Id + index
  Text1Id = 200,
  Frame1Id = 201,
  Command1Id = 202,
  Text2Id = 203,
  Option1Id = 204,
  Option2Id = 205,
  Command2Id = 206,
  Command3Id = 207,
  Command4Id = 208,
  Check2Id = 209,
};

// Twips, relative to the client area of the control's parent.
struct TwipsRect {
  int Left, Top, Width, Height;
};

// Captions go to the platform as they are, so they are NUL-terminated strings.
struct ControlSpec {
  ControlId Id;
  ControlKind Kind;
  ParentWindow Parent;
  const char* Caption;
  TwipsRect Bounds;
  int TabIndex;
};

// One box per RedrawWindow flag; Index tells the boxes apart, the rows are in screen order.
struct FlagBox {
  int Index;
  const char* Caption;
  std::string_view Tag;
  int Top, Width;  // twips
  bool CheckedAtStart;
};

inline constexpr int FlagBoxLeft = 200;
inline constexpr int FlagBoxHeight = 200;

inline constexpr std::array<FlagBox, 12> Check1Boxes{{
    {0, "RDW_ERASE", "&H4", 360, 1455, true},
    {1, "RDW_FRAME", "&H400", 763, 1455, true},
    {4, "RDW_ERASENOW", "&H200", 1166, 1815, true},
    {5, "RDW_NOERASE", "&H20", 1569, 1695, false},
    {9, "RDW_NOFRAME", "&H800", 1972, 1695, false},
    {7, "RDW_ALLCHILDREN", "&H80", 2375, 1935, false},
    {3, "RDW_INVALIDATE", "&H1", 2778, 1815, true},
    {2, "RDW_INTERNALPAINT", "&H2", 3181, 2175, false},
    {10, "RDW_VALIDATE", "&H8", 3584, 1815, false},
    {6, "RDW_UPDATENOW", "&H100", 3987, 2175, false},
    {8, "RDW_NOCHILDREN", "&H40", 4390, 2055, false},
    {11, "RDW_NOINTERNALPAINT", "&H10", 4800, 2535, false},
}};

// The flag boxes take tab indexes 0 to 11; these follow them.
inline constexpr std::array<ControlSpec, 10> Form1Controls{{
    {Text1Id, ControlKind::LogBox, ParentWindow::Form, "", {2640, 2160, 6375, 3615}, 12},
    {Frame1Id, ControlKind::GroupFrame, ParentWindow::Form, "Border/Borderless", {5160, 240, 3375, 1335}, 13},
    {Command1Id, ControlKind::PushButton, ParentWindow::Frame1, "No Border", {360, 360, 1215, 495}, 14},
    {Text2Id, ControlKind::TextBox, ParentWindow::Frame1, "   Has Border", {1920, 360, 1215, 495}, 15},
    {Option1Id, ControlKind::OptionButton, ParentWindow::Frame1, "Borderless", {360, 960, 1335, 255}, 16},
    {Option2Id, ControlKind::OptionButton, ParentWindow::Frame1, "Border", {2040, 960, 1095, 255}, 17},
    {Command2Id, ControlKind::PushButton, ParentWindow::Form, "RedrawWindow", {2640, 480, 1335, 495}, 18},
    {Command3Id, ControlKind::PushButton, ParentWindow::Form, "Clear", {1080, 5280, 1095, 495}, 19},
    {Command4Id, ControlKind::PushButton, ParentWindow::Form, "InvalidateRect", {2640, 1200, 1215, 495}, 20},
    {Check2Id, ControlKind::CheckBox, ParentWindow::Form, "Erase", {3960, 1320, 735, 375}, 21},
}};

inline constexpr char Form1Caption[] = "Moravane";
inline constexpr int Form1ClientWidth = 9090;  // twips
inline constexpr int Form1ClientHeight = 5940;

// The flag word the boxes checked at start add up to.
inline constexpr std::int32_t InitialRedrawFlags = 0x605;

constexpr const FlagBox& Check1Box(int index) {
  for (const FlagBox& box : Check1Boxes) {
    if (box.Index == index) return box;
  }
  return Check1Boxes[0];
}

constexpr std::int32_t SumOfFlagsCheckedAtStart() {
  std::int32_t sum = 0;
  for (const FlagBox& box : Check1Boxes) {
    if (box.CheckedAtStart) sum += ParseTag(box.Tag).value_or(0);
  }
  return sum;
}

static_assert(SumOfFlagsCheckedAtStart() == InitialRedrawFlags, "the start-up boxes must match the start-up flag word");

constexpr bool FlagBoxesAreWellFormed() {
  for (int index = 0; index < static_cast<int>(Check1Boxes.size()); ++index) {
    int rows = 0;
    for (const FlagBox& box : Check1Boxes) rows += box.Index == index ? 1 : 0;
    if (rows != 1 || !ParseTag(Check1Box(index).Tag)) return false;
  }
  return true;
}

static_assert(FlagBoxesAreWellFormed(), "one box for each index from 0 to 11, each with a readable tag");

// The form creates the controls in the order of this table, and the dialog manager tabs in creation order.
constexpr bool ControlsFollowTheirTabIndexes() {
  int next = static_cast<int>(Check1Boxes.size());
  for (const ControlSpec& spec : Form1Controls) {
    if (spec.TabIndex != next++) return false;
  }
  return true;
}

static_assert(ControlsFollowTheirTabIndexes(), "the controls must be listed in the order of their tab indexes");
