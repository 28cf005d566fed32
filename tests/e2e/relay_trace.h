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
      "Sleep;UnregisterDeviceNotification;OutputDebugStringA;CoUninitialize";

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

  // The calls traced since the last look, without their modules: those the
  // program made, and every debug string as its bare text. The trace's
  // escapes are undone (it writes \" for ", \\ for \ and \n for a line end;
  // bytes beyond ASCII, which these tests never expect, are not decoded). For
  // "0118:Call winmm.timeBeginPeriod(00000001) ret=14001a3cb", "timeBeginPeriod(00000001)".
  std::vector<std::string> Calls() {
    std::ifstream file(m_path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(m_seen));
    std::vector<std::string> calls;
    for (std::string line; std::getline(file, line); m_seen += line.size() + 1) {
      const size_t call = line.find(":Call ");
      const size_t module = line.find('.', call), end = line.find(") ret=", module);
      if (call == std::string::npos || end == std::string::npos) continue;
      std::string function;
      for (size_t at = module + 1; at <= end; ++at) {
        const bool escaped = line[at] == '\\';
        if (escaped) ++at;
        function += escaped && line[at] == 'n' ? '\n' : line[at];
      }
      const size_t text = function.find('"') + 1;
      if (function.rfind("OutputDebugStringA(", 0) == 0)
        calls.push_back(function.substr(text, function.size() - 2 - text));
      else if (std::stoull(line.substr(end + 6), nullptr, 16) - m_imageBase < m_imageSize)
        calls.push_back(function);
    }
    return calls;
  }

 private:
  std::string m_path;
  size_t m_seen = 0;
  ULONGLONG m_imageBase = 0;
  DWORD m_imageSize = 0;
};
