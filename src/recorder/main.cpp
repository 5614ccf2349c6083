// The recorder: shows the real form, makes every request of the paint-order catalogue on both targets through it,
// writes the recording beside itself (or into the folder named on its command line) and says what differs from
// Wine's record. Exit codes: 0 recorded, 1 recorded with differences, 2 could not record.
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "main_window/message_pump.h"
#include "paint_order/comparison.h"
#include "paint_order/form_session.h"
#include "paint_trace/module1.h"
#include "recorder/system_info.h"

namespace {

constexpr char Name[] = "Moravane's recorder";
constexpr char LeaveItAlone[] =
    "Run it again from your desktop, unlocked, and leave its window alone, in front, until it ends (a minute or two).";

std::string ParentProgram() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return "";
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  std::string name;
  for (BOOL more = Process32First(snapshot, &entry); more && parent != 0; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == parent) name = entry.szExeFile;
  }
  CloseHandle(snapshot);
  return name;
}

// Double-clicked: opened from the shell, or on Windows with a console window made for this process alone, whose text
// would go when the program ends. Under Wine only the shell counts: its consoles may show for a script's run.
bool DoubleClicked(bool underWine) {
  DWORD processes[2];
  if (GetConsoleProcessList(processes, 2) != 1) return false;
  const HWND console = GetConsoleWindow();
  return (!underWine && console != nullptr && IsWindowVisible(console)) ||
         lstrcmpiA(ParentProgram().c_str(), "explorer.exe") == 0;
}

// A report long enough to leave the screen keeps its first lines and its last four, the counts and the files.
std::string Fitted(const std::string& text) {
  std::vector<std::size_t> ends;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) ends.push_back(at);
  constexpr std::size_t First = 30, Last = 4;
  if (ends.size() <= First + Last + 1) return text;
  const std::size_t skipped = ends.size() - First - Last;
  return text.substr(0, ends[First - 1] + 1) + "... " + std::to_string(skipped) +
         " more lines: the recording holds every row.\n" + text.substr(ends[ends.size() - Last - 1] + 1);
}

// Says what happened where its user looks: a message box after a double click, standard output otherwise.
class Output {
 public:
  explicit Output(bool underWine) : box_(DoubleClicked(underWine)) {
    if (box_) FreeConsole();  // its window would only stand in front of the form
  }
  int Tell(const std::string& text, int exitCode) const {
    if (box_) {
      MessageBoxA(nullptr, Fitted(text).c_str(), Name,
                  MB_OK | (exitCode == NotRecorded ? MB_ICONERROR : MB_ICONINFORMATION));
    } else {
      std::fputs(text.c_str(), exitCode == NotRecorded ? stderr : stdout);
      std::fflush(exitCode == NotRecorded ? stderr : stdout);
    }
    return exitCode;
  }
  void Progress(const std::string& text) const {
    if (!box_) std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }

 private:
  bool box_;
};

std::string SystemMessage(DWORD error) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                 nullptr);
  std::string message = text;
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(error) : message;
}

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of("\\/"));
}

// Written beside its final name and put in its place at once: a recording cut short is never found under it.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& failure) {
  const std::string partial = path + ".partial";
  const HANDLE file =
      CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    failure = "could not create " + partial + ": " + SystemMessage(GetLastError());
    return false;
  }
  DWORD written = 0;
  const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                     written == text.size() && FlushFileBuffers(file);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (whole && MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  failure = "could not write " + path + ": " + SystemMessage(whole ? GetLastError() : error);
  DeleteFileA(partial.c_str());
  return false;
}

// A folder it can write into, tried before a minute of recording rather than after.
bool CanWriteInto(const std::string& folder, bool underWine, std::string& failure) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    failure = "there is no folder " + folder;
    return false;
  }
  // Wine marks a folder read-only when its owner may not write into it, which root could; on Windows the mark
  // only says that a folder is customised.
  if (underWine && (attributes & FILE_ATTRIBUTE_READONLY)) {
    failure = "the folder " + folder + " is read-only";
    return false;
  }
  const std::string probe = folder + "\\paint-order.md.probe";
  const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    failure = "cannot write into " + folder + ": " + SystemMessage(GetLastError());
    return false;
  }
  CloseHandle(file);
  return true;
}

// Every target of the form must be seen painting: a minimised or covered window, or a locked or non-interactive
// desktop, gets no paint message, and a recording of it would record nothing.
bool TargetsPaint(const FormSession& session) {
  if (!session.Open() || IsIconic(session.Form().Hwnd())) return false;
  for (const ControlId target : {Command1Id, Text2Id}) {
    const std::int32_t before = Module1::TraceCount;
    RedrawWindow(session.Control(target), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (Module1::TraceCount == before) return false;
  }
  return true;
}

std::string RowName(std::size_t row, std::size_t rows) {
  return "row " + std::to_string(row + 1) + " of " + std::to_string(rows);
}

}  // namespace

int main(int argc, char** argv) {
  const SystemInfo system = ReadSystemInfo();
  const Output output(!system.Wine.empty());
  if (argc > 2) return output.Tell(std::string("Usage: MoravaneRecorder.exe [FOLDER]\n"), NotRecorded);
  std::string folder = argc == 2 ? argv[1] : OwnFolder();
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  // Named as the folder was, in the separators its user wrote.
  const char separator = folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos ? '/' : '\\';
  const std::string path = folder + separator + RecordingFileName(system);
  const std::string reportPath = folder + separator + ReportFileName(system);
  std::string failure;
  if (!CanWriteInto(folder, !system.Wine.empty(), failure)) {
    return output.Tell(std::string(Name) + ": " + failure + ". Nothing was recorded. Name a folder you can write " +
                           "into: MoravaneRecorder.exe FOLDER\n",
                       NotRecorded);
  }

  Recording recording{system, CatalogueVersion(), {}};
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  const std::size_t rows = 2 * cases.size();
  output.Progress("Recording " + std::to_string(rows) + " rows on " + PlaceOf(system) + " into " + path);
  {
    const FormSession session;
    if (!session.StartTracing() || !TargetsPaint(session)) {
      return output.Tell(std::string(Name) + ": the form's windows got no paint messages: the desktop may be " +
                             "locked or not interactive, or the window minimised or covered. Nothing was recorded. " +
                             LeaveItAlone + "\n",
                         NotRecorded);
    }
    for (std::size_t row = 0; row < rows; ++row) {
      SetWindowTextA(session.Form().Hwnd(), ("Moravane recorder: " + RowName(row, rows)).c_str());
      const Target target = row % 2 == 0 ? Target::Button : Target::TextBox;
      Trace trace;
      const bool painted = TargetsPaint(session);
      const bool traced = painted && session.Record(target, cases[row / 2].Request, trace);
      if (!session.Open()) {
        return output.Tell(std::string(Name) + ": its window was closed at " + RowName(row, rows) +
                               ". Nothing was written. " + LeaveItAlone + "\n",
                           NotRecorded);
      }
      if (!painted) {
        return output.Tell(std::string(Name) + ": at " + RowName(row, rows) + " the form's windows got no paint " +
                               "messages: it was minimised or covered, or the desktop was locked. Nothing was " +
                               "written. " + LeaveItAlone + "\n",
                           NotRecorded);
      }
      if (!traced) {
        return output.Tell(std::string(Name) + ": at " + RowName(row, rows) + " the painting did not settle, or the " +
                               "log did not hold every line traced. Nothing was written. " + LeaveItAlone + "\n",
                           NotRecorded);
      }
      recording.Traces.push_back(trace);
    }
  }

  if (!WriteFileAtomically(path, WriteRecording(recording), failure)) {
    return output.Tell(
        std::string(Name) + ": " + failure + ". Name a folder you can write into: " + "MoravaneRecorder.exe FOLDER\n",
        NotRecorded);
  }
  const Conclusion conclusion = Conclude(recording);
  // Kept beside the recording, so that the report outlives a message box or a console window.
  const std::string kept = "This report is " + reportPath + "\n";
  std::string report = conclusion.Report + "The recording is " + path + "\n";
  report += WriteFileAtomically(reportPath, report + kept, failure)
                ? kept
                : "The report could not be kept beside it: " + failure + "\n";
  return output.Tell(report, conclusion.ExitCode);
}
