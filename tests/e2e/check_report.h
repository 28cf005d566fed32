// Collects the outcome of every check of a scenario and prints each one as
// it is made, so a failing run shows what was seen.
#pragma once

#include <string>

class CheckReport {
 public:
  // A quiet report prints failed checks only.
  explicit CheckReport(bool quiet = false) : quiet_(quiet) {}
  // Records one check; returns `passed` so callers can stop early.
  bool Check(bool passed, const std::string& what, const std::string& seen = std::string());
  template <typename T>
  bool Equal(const T& expected, const T& actual, const std::string& what);
  bool EqualText(const std::string& expected, const std::string& actual, const std::string& what);
  // A measured figure or other information, not a check.
  void Note(const std::string& text);
  int Failures() const { return failures_; }
  int Checks() const { return checks_; }

 private:
  bool quiet_;
  int failures_ = 0;
  int checks_ = 0;
};

template <typename T>
bool CheckReport::Equal(const T& expected, const T& actual, const std::string& what) {
  return Check(expected == actual, what,
               "expected " + std::to_string(expected) + ", got " + std::to_string(actual));
}

// Escapes control and non-ASCII bytes as \n, \xNN, for printing.
std::string Printable(const std::string& text);
