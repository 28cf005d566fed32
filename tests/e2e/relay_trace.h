// Wine's relay trace of Travune.exe: every call of FUNCTIONS with its
// arguments and caller, those made through GetProcAddress too. Wine writes
// it to the standard error it was started with.
#pragma once

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

class CRelayTrace {
 public:
  static constexpr char FUNCTIONS[] =
      "SetDefaultDllDirectories;LoadLibraryW;timeBeginPeriod;timeEndPeriod;SetProcessInformation;"
      "Sleep;"
      "UnregisterDeviceNotification;OutputDebugStringA;CoUninitialize";

  CRelayTrace() = default;
  // What is traced from now on into the file at tracePath of the program in
  // the file `program`, which Wine maps at the address its header prefers.
  CRelayTrace(const std::string& tracePath, const std::string& program) : m_path(tracePath) {
    std::ifstream trace(m_path, std::ios::binary | std::ios::ate);
    if (trace) m_seen = static_cast<size_t>(trace.tellg());
    char header[1024] = {};
    std::ifstream(program, std::ios::binary).read(header, sizeof(header));
    LONG pe = 0;
    std::memcpy(&pe, header + offsetof(IMAGE_DOS_HEADER, e_lfanew), sizeof(pe));
    if (pe <= 0 || pe > 768) return;
    const char* optional = header + pe + 24;  // past the signature and the file header
    const bool pe32Plus = optional[0] == 0x0B && optional[1] == 0x02;
    std::memcpy(&m_imageBase, optional + (pe32Plus ? 24 : 28), pe32Plus ? 8 : 4);
    std::memcpy(&m_imageSize, optional + 56, sizeof(m_imageSize));
  }

  // The calls traced since the last look that the program made, and every
  // debug string, without their modules: for
  // "0118:Call winmm.timeBeginPeriod(00000001) ret=14001a3cb", "timeBeginPeriod(00000001)".
  std::vector<std::string> Calls() {
    std::ifstream file(m_path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(m_seen));
    std::vector<std::string> calls;
    for (std::string line; std::getline(file, line); m_seen += line.size() + 1) {
      const size_t call = line.find(":Call ");
      const size_t module = line.find('.', call), end = line.find(") ret=", module);
      if (call == std::string::npos || end == std::string::npos) continue;
      const std::string function = line.substr(module + 1, end + 1 - (module + 1));
      if (std::stoull(line.substr(end + 6), nullptr, 16) - m_imageBase < m_imageSize ||
          function.rfind("OutputDebugStringA(", 0) == 0)
        calls.push_back(function);
    }
    return calls;
  }

  // The debug strings traced since the last look, as they were written. The
  // trace writes a line end as \n and escapes " and \ (and bytes beyond
  // ASCII, which the debug strings these tests expect never hold).
  std::vector<std::string> DebugStrings() {
    std::vector<std::string> strings;
    for (const std::string& call : Calls()) {
      if (call.rfind("OutputDebugStringA(", 0) != 0) continue;
      std::string text;
      for (size_t at = call.find('"') + 1; at + 2 < call.size(); ++at) {
        const bool escaped = call[at] == '\\';
        if (escaped) ++at;
        text += escaped && call[at] == 'n' ? '\n' : call[at];
      }
      strings.push_back(text);
    }
    return strings;
  }

 private:
  std::string m_path;
  size_t m_seen = 0;
  ULONGLONG m_imageBase = 0;
  DWORD m_imageSize = 0;
};
