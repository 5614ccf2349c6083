// Every repaint request of the catalogue: what the platform answers on each target, and why.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paint_order/requests.h"
#include "paint_order/rows.h"

// What sources that reflect Windows say of a row: a verdict, then the evidence, a note for each source or piece of
// reasoning, so that the catalogue writes each note once and cites it wherever it holds.
struct Evidence {
  Evidence(const char* said) : Evidence(std::string(said)) {}  // NOLINT: a case reads best as its words
  // "verdict: first note", then any further notes.
  Evidence(const std::string& said, std::vector<std::string> more = {});  // NOLINT: likewise
  std::string Verdict;  // "same", "same in part", "may differ", "not established" or "differs"
  std::vector<std::string> Notes;
};

struct PaintOrderCase {
  const char* Title;
  RepaintRequest Request;
  Rows Button;
  std::optional<Rows> TextBox;  // only where the text box's border makes a difference
  const char* Remark;           // why Wine answered as it did; empty when the rules say it all
  Evidence OnWindows;
  std::optional<Evidence> TextBoxOnWindows{};  // only where the evidence for the text box is another
  const char* TextBoxRemark = nullptr;         // only where the text box's answer needs words of its own
};

// Every request of the catalogue, in the order the catalogue shows them.
const std::vector<PaintOrderCase>& PaintOrderCases();
