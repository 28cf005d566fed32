// The simulated board's request log: one line per property-set call
// ("Set prop=0 offset=8 bytes=2c000500 result=S_OK"), plus lifecycle lines
// such as "FilterReleased" and "DllDetach". Its path is the one the board
// itself reads, TRAVUNE_SIMBOARD_LOG.
#pragma once

#include <string>
#include <vector>

struct BoardRequest {
  std::string operation;  // QuerySupported, Get or Set
  int property = -1;
  int offset = -1;  // -1 when the line carries none
  std::string bytes;
  std::string result;
};

class BoardLog {
 public:
  BoardLog();
  bool Available() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }
  // Every line written so far.
  std::vector<std::string> Lines() const;
  // The lines written after the first `from` lines.
  std::vector<std::string> LinesSince(size_t from) const;

 private:
  std::string path_;
};

// Parses a request line; false for lifecycle lines.
bool ParseBoardRequest(const std::string& line, BoardRequest* request);
// The requests among the lines with this operation, in order.
std::vector<BoardRequest> RequestsOf(const std::vector<std::string>& lines,
                                     const std::string& operation);
// Index of the first line equal to text at or after `from`, or -1.
int FindLine(const std::vector<std::string>& lines, const std::string& text, size_t from = 0);
