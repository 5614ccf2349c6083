// The real form, shown and driven through its own controls the way a user drives it, making one repaint request
// at a time and reading what the hook traced, during the call and later.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window/form1.h"
#include "paint_order/cases.h"
#include "paint_order/requests.h"
#include "paint_order/rows.h"

// The log's lines of one press, with their numbers, split where the button's handler returned.
struct Pressed {
  std::vector<std::string> During;
  std::vector<std::string> Later;
  bool Settled = false;  // the wait after the press ended as it should, not at its bound
  bool Whole = false;    // the log holds every line traced since the press, numbered on
};

class FormSession {
 public:
  // Creates the form and shows it; nothing is traced until StartTracing.
  explicit FormSession(int showCommand = SW_SHOWNORMAL);
  FormSession(const FormSession&) = delete;
  FormSession& operator=(const FormSession&) = delete;
  ~FormSession();

  // Waits for the timer to attach the log and for the start-up painting to end, then clears the log.
  [[nodiscard]] bool StartTracing() const;
  // No traced message for a while: the platform is done painting. False when it never settled.
  [[nodiscard]] bool Settled() const;
  // Whether the form still exists: a user may close it at any time.
  bool Open() const { return form_->Hwnd() != nullptr; }

  const Form1& Form() const { return *form_; }
  HWND Control(ControlId id) const { return form_->Control(id); }
  void Click(ControlId id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  // Checks exactly the flag boxes of the word, by clicking those that differ.
  void SetFlags(std::int32_t flags) const;
  // The log's lines, whole, with their numbers.
  std::vector<std::string> Lines() const;
  // Presses the button, runs onReturn as soon as the press returns, before the loop runs again, then waits by
  // settle; the log keeps its earlier lines.
  Pressed PressButton(ControlId button, const std::function<void()>& onReturn,
                      const std::function<bool()>& settle) const;

  // Every target of the form is seen painting: a minimised or covered window, or a locked or non-interactive
  // desktop, gets no paint message, and a recording of it would record nothing.
  [[nodiscard]] bool Paints() const;
  // Brings the form to the front, where clicks are not lost; false when the system would not let it.
  [[nodiscard]] bool TakeForeground();
  // Records the catalogue's first rows in order, appending to traces. Each row is made until two takes, each
  // undisturbed and exactly as meant, agree; lines traced after a take had ended go to its row as late, or, where
  // something disturbed the form meanwhile, its row is made again. False, with why, when the row traces.size()
  // could not be made within a few takes, or the form was closed. starting is told each row as it begins.
  [[nodiscard]] bool RecordRows(std::size_t rows, std::vector<Trace>& traces, std::string& failure,
                                const std::function<void(std::size_t row)>& starting = {});
  // Every take made so far, counted or not.
  std::size_t TakesMade() const { return takes_; }

 protected:
  std::unique_ptr<Form1> form_;

 private:
  enum class Outcome { Recorded, PreviousDisturbed, Failed };
  Outcome RecordRow(Target target, const RepaintRequest& request, Trace& trace, Trace* previous, std::string& failure);
  struct Take;
  class Watch;
  Take MakeTake(Target target, const RepaintRequest& request);
  // Pumps until no message waits, no paint is due and no window of the form has an update region.
  [[nodiscard]] bool NothingPending() const;
  std::vector<std::string> LinesAfter(std::int32_t number) const;
  ControlId Prepare(Request kind, std::int32_t flags) const;
  void Choose(Target target) const;
  void MakeFirst(Target target, Before first) const;
  std::string LeftInvalid(Target target) const;
  bool inFront_ = false;      // the form had the foreground when the recording began
  std::int32_t endedAt_ = 0;  // the trace count when the last take ended
  std::size_t takes_ = 0;
};
