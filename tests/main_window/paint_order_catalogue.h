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
};

// The whole of docs/paint-order.md: an introduction with the rules checked, then one table per target.
std::string RenderCatalogue(const std::vector<std::string>& rules, const std::vector<CatalogueRow>& button,
                            const std::vector<CatalogueRow>& textBox);
