// Puts a replacement in place of one function the test program imports, for the program's own calls, so a test
// can see what the code under test passes to the platform.
#pragma once

#include <windows.h>

class ImportPatch {
 public:
  template <typename Function>
  ImportPatch(const char* module, const char* function, Function* replacement) noexcept
      : ImportPatch(module, function, reinterpret_cast<AnyFunction>(replacement)) {}
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  ~ImportPatch();

  bool Applied() const noexcept { return slot_ != nullptr; }
  // The function as the platform provides it.
  template <typename Function>
  Function* Original() const noexcept {
    return reinterpret_cast<Function*>(original_);
  }

 private:
  using AnyFunction = void (*)();
  ImportPatch(const char* module, const char* function, AnyFunction replacement) noexcept;
  AnyFunction* slot_ = nullptr;
  AnyFunction original_ = nullptr;
};
