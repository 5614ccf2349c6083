// Every repaint request of the catalogue, made through the program on both targets: the traces must match
// the expectation tables and the rules the platform is known to keep, and the committed catalogue must match them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
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
    found = Recordings.emplace(key, Recorder->Record(target, PaintOrderCases()[index].Request)).first;
  }
  return found->second;
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// "10.0.22631": the version Windows really is, whatever the program's manifest declares.
std::string WindowsVersion() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get == nullptr || get(&version) != 0) return "unknown";
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) + "." +
         std::to_string(version.dwBuildNumber);
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
int CountOf(const Rows& rows, const char* message) {
  int count = 0;
  for (const Row& row : rows) count += row.Edge == 'S' && row.Message == message ? 1 : 0;
  return count;
}
Rows FrameIf(bool frame, When time) { return frame ? Frame(time) : Nothing; }
Rows EraseIf(bool erase, When time) { return erase ? Erase(time) : Nothing; }

enum class Source { Documentation, WindowsTests, Wine };

struct Rule {
  Source From;
  const char* Text;
  bool (*Applies)(const RepaintRequest&);
  bool (*Holds)(const RepaintRequest&, const Rows&);
};

bool ErasesNowFromClean(const RepaintRequest& r) {
  return FromClean(r) && Has(r, RDW_INVALIDATE) && Has(r, RDW_ERASENOW) && !Has(r, RDW_UPDATENOW);
}
bool UpdatesNowFromClean(const RepaintRequest& r) {
  return FromClean(r) && Has(r, RDW_UPDATENOW) && Has(r, RDW_INVALIDATE);
}

const Rule Rules[] = {
    {Source::Documentation, "Without RDW_INVALIDATE, RDW_ERASE and RDW_FRAME do nothing",
     [](const RepaintRequest& r) { return FromClean(r) && !Has(r, RDW_INVALIDATE | RDW_INTERNALPAINT); },
     [](const RepaintRequest&, const Rows& rows) { return rows.empty(); }},
    {Source::Documentation,
     "Without RDW_ERASENOW or RDW_UPDATENOW nothing arrives during the call: RedrawWindow \"will not repaint unless "
     "one of these flags is specified\", and WM_NCPAINT is \"typically not sent\" during it",
     [](const RepaintRequest& r) { return !Has(r, RDW_ERASENOW | RDW_UPDATENOW); },
     [](const RepaintRequest&, const Rows& rows) { return OnlyDuring(rows).empty(); }},
    {Source::Documentation,
     "With RDW_ERASENOW, WM_NCPAINT and WM_ERASEBKGND come \"if necessary\" before the call returns, WM_PAINT \"at "
     "the ordinary time\"",
     &ErasesNowFromClean,
     [](const RepaintRequest&, const Rows& rows) { return CountOf(OnlyDuring(rows), "WM_PAINT") == 0; }},
    {Source::Documentation, "With RDW_UPDATENOW, WM_PAINT comes \"if necessary\" before the call returns",
     &UpdatesNowFromClean,
     [](const RepaintRequest&, const Rows& rows) { return CountOf(OnlyDuring(rows), "WM_PAINT") == 1; }},
    {Source::Documentation, "RDW_INTERNALPAINT gives one WM_PAINT with no update region",
     [](const RepaintRequest& r) { return FromClean(r) && Has(r, RDW_INTERNALPAINT) && !Has(r, RDW_INVALIDATE); },
     [](const RepaintRequest&, const Rows& rows) { return rows == Paint(rows.empty() ? When::Later : rows[0].Time); }},
    {Source::WindowsTests,
     "With RDW_ERASENOW the frame comes first, then the erase, each on its own (msg.c `WmInvalidateErase`, "
     "`WmInvalidateFull`, `WmErase`, a generic top-level window)",
     &ErasesNowFromClean,
     [](const RepaintRequest& r, const Rows& rows) {
       return OnlyDuring(rows) == FrameIf(Has(r, RDW_FRAME), When::During) + EraseIf(Has(r, RDW_ERASE), When::During);
     }},
    {Source::WindowsTests,
     "With RDW_UPDATENOW the frame and erase messages come inside WM_PAINT, from BeginPaint, and the erase may be "
     "absent on Windows (msg.c `WmInvalidatePaint`, `WmInvalidateErasePaint`, a generic top-level window)",
     &UpdatesNowFromClean,
     [](const RepaintRequest& r, const Rows& rows) {
       const Rows inside =
           FrameIf(Has(r, RDW_FRAME), When::During) + Optional(EraseIf(Has(r, RDW_ERASE), When::During));
       return Matches(OnlyDuring(rows), Paint(When::During, inside), true);
     }},
    {Source::WindowsTests,
     "While a parent that does not clip its children still needs painting, RDW_ERASENOW on a child sends "
     "nothing (msg.c \"EraseNow child\", a generic child with a border)",
     [](const RepaintRequest& r) { return r.First == Before::FormInvalidated && Has(r, RDW_ERASENOW); },
     [](const RepaintRequest&, const Rows& rows) { return OnlyDuring(rows).empty(); }},
    {Source::Wine, "The classic button and edit box return 1 from WM_ERASEBKGND and 0 from WM_NCPAINT and WM_PAINT",
     [](const RepaintRequest&) { return true; },
     [](const RepaintRequest&, const Rows& rows) {
       for (const Row& row : rows) {
         if (row.Edge == 'R' && row.Result != (row.Message == "WM_ERASEBKGND" ? 1u : 0u)) return false;
       }
       return true;
     }},
};

const char* NameOf(Target target) { return target == Target::Button ? "Button" : "TextBox"; }

const Rows& Expected(const PaintOrderCase& c, Target target) {
  return target == Target::TextBox && c.TextBox ? *c.TextBox : c.Button;
}
const std::string& OnWindows(const PaintOrderCase& c, Target target) {
  return target == Target::TextBox && !c.TextBoxOnWindows.empty() ? c.TextBoxOnWindows : c.OnWindows;
}

class PaintOrder : public ::testing::TestWithParam<std::tuple<std::size_t, Target>> {};

TEST_P(PaintOrder, TracesWhatTheTableSaysAndWhatTheRulesPromise) {
  const auto [index, target] = GetParam();
  const PaintOrderCase& c = PaintOrderCases()[index];
  SCOPED_TRACE(std::string(c.Title) + " on the " + NameOf(target));
  const Recording& recording = RecordingOf(index, target);
  const Rows traced = RowsOf(recording);
  // Wine sends every message it sends on one version; only on Windows may an optional one be missing.
  EXPECT_TRUE(Matches(traced, Expected(c, target), !UnderWine())) << "traced:\n"
                                                                  << Describe(traced) << "expected:\n"
                                                                  << Describe(Expected(c, target));
  for (const Rule& rule : Rules) {
    if (rule.Applies(c.Request) && (rule.From != Source::Wine || UnderWine())) {
      EXPECT_TRUE(rule.Holds(c.Request, traced)) << rule.Text;
    }
  }
  // What is left is what the loop paints; an internal paint leaves no region to read.
  if (recording.LeftInvalid != "none" || !Has(c.Request, RDW_INTERNALPAINT)) {
    EXPECT_EQ(recording.LeftInvalid == "none", recording.Lines.Later.empty())
        << "left invalid: " << recording.LeftInvalid;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCase, PaintOrder,
                         ::testing::Combine(::testing::Range<std::size_t>(0, PaintOrderCases().size()),
                                            ::testing::Values(Target::Button, Target::TextBox)),
                         [](const auto& info) {
                           return "Case" + std::to_string(std::get<0>(info.param)) + "_" +
                                  NameOf(std::get<1>(info.param));
                         });

bool HasOptionalRow(const Rows& rows) {
  for (const Row& row : rows) {
    if (row.Optional) return true;
  }
  return false;
}
bool MentionsAny(const std::string& text, std::initializer_list<const char*> words) {
  for (const char* word : words) {
    if (text.find(word) != std::string::npos) return true;
  }
  return false;
}

TEST(PaintOrderCases, AreFortyOrMoreDifferentRequestsWithAVerdictEachAndEveryRuleIsTried) {
  EXPECT_GE(PaintOrderCases().size(), 40u);
  std::set<std::tuple<Request, std::int32_t, Before>> requests;
  for (const PaintOrderCase& c : PaintOrderCases()) {
    EXPECT_TRUE(requests.emplace(c.Request.Kind, c.Request.Flags, c.Request.First).second) << c.Title;
    for (const Target target : {Target::Button, Target::TextBox}) {
      const std::string& verdict = OnWindows(c, target);
      const bool known = verdict.rfind("same", 0) == 0 || verdict.rfind("differs: ", 0) == 0 ||
                         verdict.rfind("may differ: ", 0) == 0 || verdict.rfind("not established", 0) == 0;
      EXPECT_TRUE(known) << c.Title << " on the " << NameOf(target) << ": " << verdict;
      // "may differ" names a message that may be absent on Windows; a row that is the same has none.
      const bool mayDiffer = verdict.rfind("may differ: ", 0) == 0;
      const bool established = verdict.rfind("not established", 0) != 0;
      if (established) {
        EXPECT_EQ(HasOptionalRow(Expected(c, target)), mayDiffer) << c.Title << " on the " << NameOf(target);
        // Only a test run on Windows settles a row, and only for the kind of window it ran on.
        EXPECT_TRUE(
            MentionsAny(verdict, {"msg.c", "ReactOS Test"}) &&
            MentionsAny(verdict, {"classic button", "classic edit box", "generic child", "generic top-level window"}))
            << c.Title << " on the " << NameOf(target)
            << " names no Windows-run test and its kind of window: " << verdict;
      }
    }
  }
  for (const Rule& rule : Rules) {
    int cases = 0;
    for (const PaintOrderCase& c : PaintOrderCases()) cases += rule.Applies(c.Request) ? 1 : 0;
    EXPECT_GT(cases, 0) << rule.Text;
  }
}

std::vector<CatalogueRow> CatalogueOf(Target target) {
  std::vector<CatalogueRow> rows;
  for (std::size_t index = 0; index < PaintOrderCases().size(); ++index) {
    const PaintOrderCase& c = PaintOrderCases()[index];
    rows.push_back({c.Title, c.Request, RecordingOf(index, target), c.Remark, OnWindows(c, target)});
  }
  return rows;
}

// Where MORAVANE_WRITE_CATALOGUE says: a file, or a folder (ending in a slash) that gets one named for the
// platform, such as paint-order.windows-10.0.22631.md.
std::string CataloguePath(const std::string& target) {
  const bool folder = !target.empty() && (target.back() == '/' || target.back() == '\\');
  return folder ? target + "paint-order." + (UnderWine() ? "wine" : "windows-" + WindowsVersion()) + ".md" : target;
}

// With MORAVANE_WRITE_CATALOGUE set, the fresh recording is written out instead of compared.
TEST(PaintOrderCatalogue, TheCommittedFileIsWhatThePlatformDoesNow) {
  CheckedRules rules;
  for (const Rule& rule : Rules) {
    (rule.From == Source::Documentation  ? rules.Documented
     : rule.From == Source::WindowsTests ? rules.WindowsTested
                                         : rules.WineOnly)
        .emplace_back(rule.Text);
  }
  const std::string recordedOn = UnderWine() ? "under Wine on a virtual display" : "on Windows " + WindowsVersion();
  const std::string fresh =
      RenderCatalogue(rules, CatalogueOf(Target::Button), CatalogueOf(Target::TextBox), recordedOn);
  if (const char* out = std::getenv("MORAVANE_WRITE_CATALOGUE")) {
    const std::string path = CataloguePath(out);
    std::ofstream file(path, std::ios::binary);
    file << fresh;
    file.close();
    ASSERT_TRUE(file) << "could not write " << path;
    std::printf("Wrote %s\n", path.c_str());
    return;
  }
  if (!UnderWine()) GTEST_SKIP() << "the committed catalogue was recorded under Wine";
  std::ifstream file(MORAVANE_CATALOGUE, std::ios::binary);
  ASSERT_TRUE(file) << MORAVANE_CATALOGUE;
  std::stringstream committed;
  committed << file.rdbuf();
  EXPECT_TRUE(committed.str() == fresh) << "docs/paint-order.md is out of date: run scripts/catalogue";
}

}  // namespace
