// Writes the recordings out as the catalogue learners read beside the tool.
#pragma once

#include <string>
#include <vector>

#include "main_window/paint_order_recorder.h"

struct CatalogueRow {
  std::string Title;
  RepaintRequest Request;
  Recording Trace;
  std::string Remark;
  std::string OnWindows;
};

// The rules every row is checked against, by where they come from.
struct CheckedRules {
  std::vector<std::string> Documented;     // Microsoft's reference pages
  std::vector<std::string> WindowsTested;  // tests that must pass on Windows
  std::vector<std::string> WineOnly;       // what only Wine showed
};

// The whole catalogue: an introduction with the rules checked, then one table per target. recordedOn finishes
// "Recorded ...".
std::string RenderCatalogue(const CheckedRules& rules, const std::vector<CatalogueRow>& button,
                            const std::vector<CatalogueRow>& textBox, const std::string& recordedOn);
