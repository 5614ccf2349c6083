// The real form, shown and driven the way a user drives it: for the form's tests and the catalogue's recorder.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main_window/form1.h"

// The log's lines for one request, split at the moment the button's handler returned.
struct RequestTrace {
  std::vector<std::string> During;  // traced before the button's handler returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
};

// The same lines without their numbers, as the catalogue shows them.
RequestTrace WithoutNumbers(const RequestTrace& trace);

class FormDriver {
 public:
  FormDriver();
  ~FormDriver();

  // Waits for the timer to attach the log and for the start-up painting to end, then clears the log.
  [[nodiscard]] bool StartTracing() const;
  // No traced message for a while: the platform is done painting.
  [[nodiscard]] bool Settled() const;

  const Form1& Form() const { return *form_; }
  HWND Control(ControlId id) const { return form_->Control(id); }
  static void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
  void Click(ControlId id) const { Click(Control(id)); }
  static bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetFlag(const char* name, bool checked) const;  // the flag box with that caption
  std::vector<std::string> Lines() const;
  // Clears the log, presses the button and waits until the painting is over; every traced line must then be in
  // the log, numbered on, and the same as a witness under the hook saw. onReturn runs as soon as the press returns,
  // before the loop runs again.
  RequestTrace Press(ControlId button, const std::function<void()>& onReturn = {}) const;
  // The same, with the log's earlier lines left in it.
  RequestTrace PressKeepingTheLog(ControlId button, const std::function<void()>& onReturn = {}) const;

 protected:
  std::unique_ptr<Form1> form_;
  std::chrono::steady_clock::time_point created_;
  std::int32_t countBeforeStart_;
};

class FormTest : public ::testing::Test, public FormDriver {
 protected:
  void StartTracing() const { ASSERT_TRUE(FormDriver::StartTracing()); }
};
