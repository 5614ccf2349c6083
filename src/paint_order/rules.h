// The rules the platform is known to keep, by where they come from; every row of the catalogue is checked
// against those that apply to its request.
#pragma once

#include <vector>

#include "paint_order/requests.h"
#include "paint_order/rows.h"

enum class Source { Documentation, WindowsTests, Wine };

struct Rule {
  Source From;
  const char* Text;
  bool (*Applies)(const RepaintRequest&);
  bool (*Holds)(const RepaintRequest&, const Rows&);
};

const std::vector<Rule>& PaintOrderRules();
