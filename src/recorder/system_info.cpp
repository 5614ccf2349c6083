#include "recorder/system_info.h"

#include <windows.h>

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

// "Professional (Windows 10 Pro, 23H2)": the edition, then the names the system gives itself.
std::string Edition() {
  std::string names = CurrentVersionValue("ProductName");
  std::string release = CurrentVersionValue("DisplayVersion");
  if (release.empty()) release = CurrentVersionValue("ReleaseId");
  if (!release.empty()) names += (names.empty() ? "" : ", ") + release;
  const std::string edition = CurrentVersionValue("EditionID");
  if (edition.empty()) return names;
  return names.empty() ? edition : edition + " (" + names + ")";
}

FARPROC NtdllFunction(const char* name) { return GetProcAddress(GetModuleHandleA("ntdll.dll"), name); }

// RtlGetVersion answers with the version the system is, where GetVersionEx answers what the manifest declares.
std::string WindowsVersion() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(NtdllFunction("RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get == nullptr || get(&version) != 0) return "unknown";
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) + "." +
         std::to_string(version.dwBuildNumber);
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
  system.Windows = WindowsVersion();
  system.Revision = Revision();
  system.Edition = Edition();
  system.Dpi = ScreenDpi();
  system.Wine = WineVersion();
  system.Recorder = MORAVANE_VERSION;
  return system;
}
