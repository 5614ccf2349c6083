#include "paint_order/rules.h"

namespace {

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

bool ErasesNowFromClean(const RepaintRequest& r) {
  return FromClean(r) && Has(r, RDW_INVALIDATE) && Has(r, RDW_ERASENOW) && !Has(r, RDW_UPDATENOW);
}
bool UpdatesNowFromClean(const RepaintRequest& r) {
  return FromClean(r) && Has(r, RDW_UPDATENOW) && Has(r, RDW_INVALIDATE);
}

}  // namespace

const std::vector<Rule>& PaintOrderRules() {
  static const std::vector<Rule> rules{
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
       [](const RepaintRequest&, const Rows& rows) {
         return rows == Paint(rows.empty() ? When::Later : rows[0].Time);
       }},
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
  return rules;
}
