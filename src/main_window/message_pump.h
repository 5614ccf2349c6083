// Runs the message loop for a bounded time, the way the program's own loop does.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

class Form1;

// No traced message for this long: the platform is done painting.
inline constexpr std::chrono::milliseconds QuietFor{150};
// The longest any wait of the tests may take before it counts as failed.
inline constexpr std::chrono::milliseconds Patience{5000};

// Dispatches a message the loop took, keyboard messages to the form first, which may dispatch it itself, telling the
// hook that the loop hands it over: the program's loop and the pump both dispatch this way.
void DispatchFromLoop(MSG& message, const Form1* form);

// Dispatches every message that arrives within the given time; keyboard messages go to the form first.
void PumpFor(std::chrono::milliseconds duration, const Form1* form = nullptr);

// Pumps until done() holds or the timeout passes; tells whether done() held.
[[nodiscard]] bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                             const Form1* form = nullptr);

// Pumps until no traced message has arrived for the given quiet time; false when the timeout came first.
[[nodiscard]] bool PumpUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout,
                                  const Form1* form = nullptr);

// Pumps until the form's timer has attached the log and the start-up painting is over; tells whether both came
// before the timeout.
[[nodiscard]] bool PumpUntilTracing(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout,
                                    const Form1& form);

// How many WM_QUIT messages the pump has taken from the queue since the program started.
int QuitMessagesSeen();

// A window's text, asked of the window itself, so that another process's windows answer too.
std::string WindowText(HWND hwnd);
