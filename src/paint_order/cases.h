// Every repaint request of the catalogue: what the platform answers on each target, and why.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paint_order/requests.h"
#include "paint_order/rows.h"

struct PaintOrderCase {
  const char* Title;
  RepaintRequest Request;
  Rows Button;
  std::optional<Rows> TextBox;  // only where the text box's border makes a difference
  const char* Remark;           // why Wine answered as it did; empty when the rules say it all
  // What sources that reflect Windows say of the row: a verdict ("same", "differs: ", "may differ: " or "not
  // established"), then the evidence, each source with the kind of window it ran on.
  std::string OnWindows;
  std::string TextBoxOnWindows{};  // only where the evidence for the text box is another
};

// Every request of the catalogue, in the order the catalogue shows them.
const std::vector<PaintOrderCase>& PaintOrderCases();
