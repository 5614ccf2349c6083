#include "recorder/system_info.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include "moravane_version.h"

namespace {

// A value of the key that names the running system, or empty where it has none.
std::string CurrentVersionValue(const char* name) {
  char text[256] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name, RRF_RT_REG_SZ, nullptr,
                   text, &size) != ERROR_SUCCESS) {
    return "";
  }
  return text;
}

std::string Revision() {
  DWORD revision = 0, size = sizeof revision;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "UBR", RRF_RT_REG_DWORD,
                   nullptr, &revision, &size) != ERROR_SUCCESS) {
    return "";
  }
  return std::to_string(revision);
}

// Windows 11 still calls itself "Windows 10" in ProductName; its builds start at 22000.
std::string ProductName(unsigned build) {
  std::string name = CurrentVersionValue("ProductName");
  const std::string ten = "Windows 10";
  const std::size_t at = name.find(ten);
  if (build >= 22000 && at != std::string::npos) name.replace(at, ten.size(), "Windows 11");
  return name;
}

// "Professional (Windows 11 Pro, 23H2)": the edition, then the names the system gives itself.
std::string Edition(unsigned build) {
  std::string names = ProductName(build);
  std::string release = CurrentVersionValue("DisplayVersion");
  if (release.empty()) release = CurrentVersionValue("ReleaseId");
  if (!release.empty()) names += (names.empty() ? "" : ", ") + release;
  const std::string edition = CurrentVersionValue("EditionID");
  if (edition.empty()) return names;
  return names.empty() ? edition : edition + " (" + names + ")";
}

FARPROC NtdllFunction(const char* name) { return GetProcAddress(GetModuleHandleA("ntdll.dll"), name); }

// RtlGetVersion answers with the version the system is, where GetVersionEx answers what the manifest declares.
OSVERSIONINFOW TrueVersion() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(NtdllFunction("RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get == nullptr || get(&version) != 0) version.dwOSVersionInfoSize = 0;
  return version;
}

std::string WindowsVersion(const OSVERSIONINFOW& version) {
  if (version.dwOSVersionInfoSize == 0) return "unknown";
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) + "." +
         std::to_string(version.dwBuildNumber);
}

// A function of a system library that older systems lack, looked up where it is used.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (module == nullptr) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module == nullptr ? nullptr
                           : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Without composition a covered window gets an empty clip and BeginPaint may skip the erase.
std::string Composed() {
  const auto enabled = SystemFunction<HRESULT(WINAPI*)(BOOL*)>(L"dwmapi.dll", "DwmIsCompositionEnabled");
  BOOL composed = FALSE;
  if (enabled == nullptr) return "no: the system has no desktop window manager";
  if (FAILED(enabled(&composed))) return "unknown: DwmIsCompositionEnabled failed";
  return composed ? "yes" : "no";
}

std::string VisualStyles() {
  const auto active = SystemFunction<BOOL(WINAPI*)()>(L"uxtheme.dll", "IsThemeActive");
  const auto themed = SystemFunction<BOOL(WINAPI*)()>(L"uxtheme.dll", "IsAppThemed");
  if (active == nullptr || themed == nullptr) return "off: the system has none";
  if (!active()) return "off";
  return themed() ? "on" : "on for the system, off for this program";
}

std::string ModuleName(const void* address) {
  HMODULE module = nullptr;
  wchar_t path[MAX_PATH] = {};
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const wchar_t*>(address), &module) ||
      GetModuleFileNameW(module, path, MAX_PATH) == 0) {
    return "unknown";
  }
  std::wstring name(path);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  return std::string(name.begin(), name.end());  // system libraries' names are plain ASCII
}

// Version 6 of the common controls draws buttons and edit boxes with the visual styles, and buffers their painting.
std::string Controls() {
  WNDCLASSEXW button{}, edit{};
  button.cbSize = edit.cbSize = sizeof button;
  const bool known = GetClassInfoExW(nullptr, L"Button", &button) && GetClassInfoExW(nullptr, L"Edit", &edit);
  std::string controls = known ? "button from " + ModuleName(reinterpret_cast<const void*>(button.lpfnWndProc)) +
                                     ", edit box from " + ModuleName(reinterpret_cast<const void*>(edit.lpfnWndProc))
                               : "the targets' classes unknown";
  DLLVERSIONINFO version{};
  version.cbSize = sizeof version;
  const auto get = SystemFunction<HRESULT(CALLBACK*)(DLLVERSIONINFO*)>(L"comctl32.dll", "DllGetVersion");
  if (get != nullptr && SUCCEEDED(get(&version))) {
    controls += "; comctl32.dll " + std::to_string(version.dwMajorVersion) + "." +
                std::to_string(version.dwMinorVersion) + " loaded";
  }
  return controls;
}

std::string HighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return "unknown";
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0 ? "on" : "off";
}

std::string DpiAwareness() {
  using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
  using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto context = SystemFunction<GetContext>(L"user32.dll", "GetThreadDpiAwarenessContext");
  const auto awareness = SystemFunction<GetAwareness>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  if (context != nullptr && awareness != nullptr) {
    switch (awareness(context())) {
      case DPI_AWARENESS_UNAWARE: return "unaware";
      case DPI_AWARENESS_SYSTEM_AWARE: return "system aware";
      case DPI_AWARENESS_PER_MONITOR_AWARE: return "per monitor aware";
      default: return "unknown";
    }
  }
  const auto aware = SystemFunction<BOOL(WINAPI*)()>(L"user32.dll", "IsProcessDPIAware");
  return aware == nullptr ? "unknown" : aware() ? "system aware" : "unaware";
}

std::string WineVersion() {
  using GetWineVersion = const char*(CDECL*)();
  const auto get = reinterpret_cast<GetWineVersion>(reinterpret_cast<void*>(NtdllFunction("wine_get_version")));
  return get != nullptr ? get() : "";
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

SystemInfo ReadSystemInfo() {
  SystemInfo system;
  const OSVERSIONINFOW version = TrueVersion();
  system.Windows = WindowsVersion(version);
  system.Revision = Revision();
  system.Edition = Edition(version.dwMajorVersion == 10 ? version.dwBuildNumber : 0);
  system.Dpi = ScreenDpi();
  system.DpiAwareness = DpiAwareness();
  system.Composed = Composed();
  system.VisualStyles = VisualStyles();
  system.Controls = Controls();
  system.HighContrast = HighContrast();
  system.RemoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0 ? "yes" : "no";
  system.Wine = WineVersion();
  system.Recorder = MORAVANE_VERSION;
  return system;
}
