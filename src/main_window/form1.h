// The program's only window: the flag boxes, the two repaint requests, the target choice and the log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "main_window/control_layout.h"
#include "main_window/line_tips.h"
#include "main_window/tooltips.h"

// Owns a GDI font for the life of the form.
class UniqueFont {
 public:
  explicit UniqueFont(HFONT font = nullptr) noexcept : font_(font) {}
  UniqueFont(const UniqueFont&) = delete;
  UniqueFont& operator=(const UniqueFont&) = delete;
  UniqueFont& operator=(UniqueFont&& other) noexcept;
  ~UniqueFont();
  HFONT get() const noexcept { return font_; }

 private:
  HFONT font_;
};

struct TwipsScale {
  int DpiX, DpiY;
  int X(int twips) const noexcept { return MulDiv(twips, DpiX, 1440); }
  int Y(int twips) const noexcept { return MulDiv(twips, DpiY, 1440); }
};

class Form1 {
 public:
  static constexpr UINT_PTR Timer1Id = 1;
  static constexpr UINT Timer1IntervalMs = 600;

  // Creates the window and its controls and runs Form_Load; the window stays hidden until Show. Hwnd() is
  // null when the window or any of its controls could not be created.
  explicit Form1(HINSTANCE instance);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  ~Form1();

  void Show(int showCommand) const;
  HWND Hwnd() const noexcept { return hwnd_; }
  // Read from the window each time, never remembered.
  HWND Control(ControlId id) const noexcept;
  HWND FlagBoxControl(int index) const noexcept;
  // Gives keyboard messages the dialog treatment: Tab, Shift+Tab, arrows within the options; Esc does nothing.
  bool PreTranslateMessage(MSG& message) const noexcept;

  HWND TargetHwnd = nullptr;     // window the repaint requests address
  std::int32_t RedrawFlags = 0;  // flag word for RedrawWindow

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCreate();
  void OnTimer(WPARAM timerId);
  void OnDestroy();
  bool CreateControls();
  void FitCaptionFont(const TwipsScale& scale);
  void FitLogFont(const TwipsScale& scale);
  void ForEachControl(const std::function<void(HWND, ControlKind, const char*)>& visit) const;
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void OnSetFocus() const;
  void OnNextDlgCtl(WPARAM wParam, LPARAM lParam) const;
  LRESULT OnNotify(const NMHDR& header);
  void AddTooltips(const TwipsScale& scale);
  std::string TooltipFor(HWND control) const;
  void ShowHelp(HWND focus) const noexcept;

  void Form_Load();
  void Form_Unload();
  void Timer1_Timer();
  void Command3_Click();
  void Check1_Click(std::int16_t index);
  void Command2_Click();
  void Command4_Click();
  void Option1_Click();
  void Option2_Click();
  static LONG HookWindow(HWND hwnd);
  void UnhookWindows();

  HWND hwnd_ = nullptr;
  HWND focusedControl_ = nullptr;  // regains the focus when the window is activated again
  UniqueFont font_;
  UniqueFont logFont_;
  Tooltips tooltips_;
  mutable LineTips lineTips_;  // where the cursor rests is no part of the form's state
  std::string tooltipText_;    // the text the tooltip window shows, kept while it shows
};
