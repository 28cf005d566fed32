#include "board_log.h"

#include <windows.h>

#include <fstream>
#include <sstream>

BoardLog::BoardLog() {
  char buffer[MAX_PATH] = "";
  DWORD length = GetEnvironmentVariableA("TRAVUNE_SIMBOARD_LOG", buffer, sizeof(buffer));
  if (length > 0 && length < sizeof(buffer)) path_ = buffer;
}

std::vector<std::string> BoardLog::Lines() const {
  std::vector<std::string> lines;
  if (path_.empty()) return lines;
  std::ifstream file(path_, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> BoardLog::LinesSince(size_t from) const {
  std::vector<std::string> lines = Lines();
  if (from >= lines.size()) return {};
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end());
}

bool ParseBoardRequest(const std::string& line, BoardRequest* request) {
  std::istringstream words(line);
  std::string word;
  if (!(words >> word)) return false;
  if (word != "QuerySupported" && word != "Get" && word != "Set") return false;
  BoardRequest parsed;
  parsed.operation = word;
  while (words >> word) {
    size_t equals = word.find('=');
    if (equals == std::string::npos) continue;
    std::string key = word.substr(0, equals);
    std::string value = word.substr(equals + 1);
    if (key == "prop") {
      parsed.property = std::stoi(value);
    } else if (key == "offset" && value != "-") {
      parsed.offset = std::stoi(value);
    } else if (key == "bytes") {
      parsed.bytes = value;
    } else if (key == "result") {
      parsed.result = value;
    }
  }
  *request = parsed;
  return true;
}

std::vector<BoardRequest> RequestsOf(const std::vector<std::string>& lines,
                                     const std::string& operation) {
  std::vector<BoardRequest> requests;
  for (const std::string& line : lines) {
    BoardRequest request;
    if (ParseBoardRequest(line, &request) && request.operation == operation) {
      requests.push_back(request);
    }
  }
  return requests;
}

int FindLine(const std::vector<std::string>& lines, const std::string& text, size_t from) {
  for (size_t i = from; i < lines.size(); ++i) {
    if (lines[i] == text) return static_cast<int>(i);
  }
  return -1;
}
