// The real form, shown and driven the way a user drives it, through the recorder's own session, for the form's tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "paint_order/form_session.h"

// The log's lines for one request, split at the moment the button's handler returned.
struct RequestTrace {
  std::vector<std::string> During;  // traced before the button's handler returned
  std::vector<std::string> Later;   // delivered afterwards by the message loop
};

// The same lines without their numbers, as the catalogue shows them.
RequestTrace WithoutNumbers(const RequestTrace& trace);

// What a test reads of the moment before the form was created; a base, so that it is taken first.
struct BeforeTheForm {
  std::chrono::steady_clock::time_point created_ = std::chrono::steady_clock::now();
  std::int32_t countBeforeStart_;
  BeforeTheForm();
};

class FormDriver : protected BeforeTheForm, public FormSession {
 public:
  using FormSession::Click;
  // As the session's, without the 600 ms before the log is attached.
  [[nodiscard]] bool StartTracing() const;
  static void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
  static bool IsChecked(HWND control) { return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetFlag(const char* name, bool checked) const;  // the flag box with that caption
  // Clears the log, presses the button and waits until the painting is over; every traced line must then be in
  // the log, numbered on, and the same as a witness under the hook saw. onReturn runs as soon as the press returns,
  // before the loop runs again.
  RequestTrace Press(ControlId button, const std::function<void()>& onReturn = {}) const;
  // The same, with the log's earlier lines left in it.
  RequestTrace PressKeepingTheLog(ControlId button, const std::function<void()>& onReturn = {}) const;
};

class FormTest : public ::testing::Test, public FormDriver {
 protected:
  void StartTracing() const { ASSERT_TRUE(FormDriver::StartTracing()); }
};
