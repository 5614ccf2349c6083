#include "support/import_patch.h"

namespace {

using AnyFunction = void (*)();

// The program's import table entry that holds the function, or null.
AnyFunction* ImportSlot(AnyFunction function) noexcept {
  auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return nullptr;
  for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    for (auto* slot = reinterpret_cast<AnyFunction*>(base + module->FirstThunk); *slot != nullptr; ++slot) {
      if (*slot == function) return slot;
    }
  }
  return nullptr;
}

void Write(AnyFunction* slot, AnyFunction value) noexcept {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

ImportPatch::ImportPatch(const char* module, const char* function, AnyFunction replacement) noexcept
    : original_(reinterpret_cast<AnyFunction>(GetProcAddress(GetModuleHandleA(module), function))) {
  if (original_ == nullptr) return;
  slot_ = ImportSlot(original_);
  if (slot_ != nullptr) Write(slot_, replacement);
}

ImportPatch::~ImportPatch() {
  if (slot_ != nullptr) Write(slot_, original_);
}
