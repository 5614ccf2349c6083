// Every repaint request of the catalogue, made through the program on both targets: the traces must match
// the expectation tables and the rules the platform documents, and the committed catalogue must match them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "main_window/paint_order_cases.h"
#include "main_window/paint_order_catalogue.h"

namespace {

// One form for the whole suite: starting it takes longer than a case.
std::unique_ptr<PaintOrderRecorder> Recorder;
std::map<std::pair<std::size_t, Target>, Recording> Recordings;

class SharedForm : public ::testing::Environment {
 public:
  void TearDown() override { Recorder.reset(); }
};
const auto* const Environment = ::testing::AddGlobalTestEnvironment(new SharedForm);

const Recording& RecordingOf(std::size_t index, Target target) {
  const auto key = std::make_pair(index, target);
  auto found = Recordings.find(key);
  if (found == Recordings.end()) {
    if (!Recorder) Recorder = std::make_unique<PaintOrderRecorder>();
    found = Recordings.emplace(key, Recorder->Record(target, PaintOrderCases[index].Request)).first;
  }
  return found->second;
}

bool Has(const RepaintRequest& request, std::int32_t flags) {
  return request.Kind == Request::RedrawWindow && (request.Flags & flags) != 0;
}
bool FromClean(const RepaintRequest& request) {
  return request.Kind == Request::RedrawWindow && request.First == Before::Nothing;
}
Rows OnlyDuring(const Rows& rows) {
  Rows during;
  for (const Row& row : rows) {
    if (row.Time == When::During) during.push_back(row);
  }
  return during;
}

struct DocumentedRule {
  const char* Text;
  bool (*Applies)(const RepaintRequest&);
  bool (*Holds)(const RepaintRequest&, const Rows&);
};

const DocumentedRule DocumentedRules[] = {
    {"Without RDW_INVALIDATE, RDW_ERASE and RDW_FRAME do nothing",
     [](const RepaintRequest& r) { return FromClean(r) && !Has(r, RDW_INVALIDATE | RDW_INTERNALPAINT); },
     [](const RepaintRequest&, const Rows& rows) { return rows.empty(); }},
    {"Without RDW_ERASENOW or RDW_UPDATENOW nothing arrives during the call",
     [](const RepaintRequest& r) { return !Has(r, RDW_ERASENOW | RDW_UPDATENOW); },
     [](const RepaintRequest&, const Rows& rows) { return OnlyDuring(rows).empty(); }},
    {"RDW_ERASENOW sends WM_NCPAINT (with RDW_FRAME), then WM_ERASEBKGND (with RDW_ERASE), before the call "
     "returns, and no WM_PAINT",
     [](const RepaintRequest& r) {
       return FromClean(r) && Has(r, RDW_INVALIDATE) && Has(r, RDW_ERASENOW) && !Has(r, RDW_UPDATENOW);
     },
     [](const RepaintRequest& r, const Rows& rows) {
       return OnlyDuring(rows) ==
              (Has(r, RDW_FRAME) ? Frame(When::During) : Nothing) + (Has(r, RDW_ERASE) ? Erase(When::During) : Nothing);
     }},
    {"RDW_UPDATENOW sends WM_PAINT before the call returns, with the frame and erase messages nested inside it",
     [](const RepaintRequest& r) {
       return FromClean(r) && Has(r, RDW_UPDATENOW) && Has(r, RDW_INVALIDATE | RDW_INTERNALPAINT);
     },
     [](const RepaintRequest& r, const Rows& rows) {
       const bool invalid = Has(r, RDW_INVALIDATE);
       return OnlyDuring(rows) ==
              Paint(When::During, (invalid && Has(r, RDW_FRAME) ? Frame(When::During) : Nothing) +
                                      (invalid && Has(r, RDW_ERASE) ? Erase(When::During) : Nothing));
     }},
    {"RDW_INTERNALPAINT gives one WM_PAINT with no update region",
     [](const RepaintRequest& r) { return FromClean(r) && Has(r, RDW_INTERNALPAINT) && !Has(r, RDW_INVALIDATE); },
     [](const RepaintRequest&, const Rows& rows) {
       return rows.size() == 2 && rows[0].Message == "WM_PAINT" && rows[1].Message == "WM_PAINT";
     }},
    {"WM_ERASEBKGND returns nonzero when it erased, WM_NCPAINT and WM_PAINT return 0",
     [](const RepaintRequest&) { return true; },
     [](const RepaintRequest&, const Rows& rows) {
       for (const Row& row : rows) {
         if (row.Edge == 'R' && (row.Message == "WM_ERASEBKGND") != (row.Result != 0)) return false;
       }
       return true;
     }},
};

const char* NameOf(Target target) { return target == Target::Button ? "Button" : "TextBox"; }

class PaintOrder : public ::testing::TestWithParam<std::tuple<std::size_t, Target>> {};

TEST_P(PaintOrder, TracesWhatTheTableSaysAndWhatTheDocumentationPromises) {
  const auto [index, target] = GetParam();
  const PaintOrderCase& c = PaintOrderCases[index];
  SCOPED_TRACE(std::string(c.Title) + " on the " + NameOf(target));
  const Rows traced = RowsOf(RecordingOf(index, target));
  const Rows& expected = target == Target::TextBox && c.TextBox ? *c.TextBox : c.Button;
  EXPECT_EQ(Describe(traced), Describe(expected));
  EXPECT_TRUE(traced == expected);
  for (const DocumentedRule& rule : DocumentedRules) {
    if (rule.Applies(c.Request)) {
      EXPECT_TRUE(rule.Holds(c.Request, traced)) << rule.Text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCase, PaintOrder,
                         ::testing::Combine(::testing::Range<std::size_t>(0, PaintOrderCases.size()),
                                            ::testing::Values(Target::Button, Target::TextBox)),
                         [](const auto& info) {
                           return "Case" + std::to_string(std::get<0>(info.param)) + "_" +
                                  NameOf(std::get<1>(info.param));
                         });

TEST(PaintOrderCases, AreFortyOrMoreDifferentRequestsAndEveryRuleIsTried) {
  EXPECT_GE(PaintOrderCases.size(), 40u);
  std::set<std::tuple<Request, std::int32_t, Before>> requests;
  for (const PaintOrderCase& c : PaintOrderCases) {
    EXPECT_TRUE(requests.emplace(c.Request.Kind, c.Request.Flags, c.Request.First).second) << c.Title;
  }
  for (const DocumentedRule& rule : DocumentedRules) {
    int cases = 0;
    for (const PaintOrderCase& c : PaintOrderCases) cases += rule.Applies(c.Request) ? 1 : 0;
    EXPECT_GT(cases, 0) << rule.Text;
  }
}

std::vector<CatalogueRow> CatalogueOf(Target target) {
  std::vector<CatalogueRow> rows;
  for (std::size_t index = 0; index < PaintOrderCases.size(); ++index) {
    const PaintOrderCase& c = PaintOrderCases[index];
    rows.push_back({c.Title, c.Request, RecordingOf(index, target), c.Remark});
  }
  return rows;
}

// With MORAVANE_WRITE_CATALOGUE set to a path, the fresh recording is written there instead.
TEST(PaintOrderCatalogue, TheCommittedFileIsWhatThePlatformDoesNow) {
  std::vector<std::string> rules;
  for (const DocumentedRule& rule : DocumentedRules) rules.emplace_back(rule.Text);
  const std::string fresh = RenderCatalogue(rules, CatalogueOf(Target::Button), CatalogueOf(Target::TextBox));
  if (const char* out = std::getenv("MORAVANE_WRITE_CATALOGUE")) {
    std::ofstream file(out, std::ios::binary);
    file << fresh;
    file.close();
    ASSERT_TRUE(file) << "could not write " << out;
    return;
  }
  std::ifstream file(MORAVANE_CATALOGUE, std::ios::binary);
  ASSERT_TRUE(file) << MORAVANE_CATALOGUE;
  std::stringstream committed;
  committed << file.rdbuf();
  EXPECT_TRUE(committed.str() == fresh) << "docs/paint-order.md is out of date: run scripts/catalogue";
}

}  // namespace
