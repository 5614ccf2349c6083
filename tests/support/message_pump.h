// Runs the message loop for a bounded time, the way the program's own loop does.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

class Form1;

// Dispatches every message that arrives within the given time; keyboard messages go to the form first.
void PumpFor(std::chrono::milliseconds duration, const Form1* form = nullptr);

// Pumps until done() holds or the timeout passes; tells whether done() held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout, const Form1* form = nullptr);

// Pumps until no traced message has arrived for the given quiet time (or the timeout passes).
void PumpUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout, const Form1* form = nullptr);

// Pumps until the form's timer has attached the log and the start-up painting is over; tells whether it was.
bool PumpUntilTracing(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout, const Form1& form);

std::string WindowText(HWND hwnd);
