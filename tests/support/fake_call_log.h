// One log of the calls that a set of fake COM objects receive, in order,
// shared by all of them, with a way to make any one call fail.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "travune_platform.h"

class FakeCallLog {
 public:
  // Records a call that can be told to fail. Returns true, with the result
  // to return in *failure, when this is the occurrence told to fail.
  bool Enter(const std::string& call, HRESULT* failure);
  // Records a call that cannot fail (Release).
  void Note(const std::string& call);

  // Makes the given occurrence (1 = first) of a call return result.
  void FailCall(const std::string& call, HRESULT result, int occurrence = 1);

  const std::vector<std::string>& Calls() const { return calls_; }
  // The calls that can fail, in order, each with its occurrence number.
  const std::vector<std::pair<std::string, int>>& FailableCalls() const { return failable_; }
  // The recorded calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  int InjectedFailures() const { return injected_; }

 private:
  struct Failure {
    std::string call;
    int occurrence;
    HRESULT result;
  };
  std::vector<std::string> calls_;
  std::vector<std::pair<std::string, int>> failable_;
  std::map<std::string, int> seen_;
  std::vector<Failure> failures_;
  int injected_ = 0;
};
