#include "check_report.h"

#include <cstdio>

bool CheckReport::Check(bool passed, const std::string& what, const std::string& seen) {
  ++checks_;
  if (!passed) ++failures_;
  if (passed && quiet_) return passed;
  std::printf("  %s  %s", passed ? "ok  " : "FAIL", what.c_str());
  if (!passed && !seen.empty()) std::printf("  [%s]", seen.c_str());
  std::printf("\n");
  std::fflush(stdout);
  return passed;
}

bool CheckReport::EqualText(const std::string& expected, const std::string& actual,
                            const std::string& what) {
  return Check(expected == actual, what,
               "expected \"" + Printable(expected) + "\", got \"" + Printable(actual) + "\"");
}

void CheckReport::Note(const std::string& text) {
  std::printf("  note  %s\n", text.c_str());
  std::fflush(stdout);
}

std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}
