#include "fake_call_log.h"

bool FakeCallLog::Enter(const std::string& call, HRESULT* failure) {
  calls_.push_back(call);
  const int occurrence = ++seen_[call];
  failable_.emplace_back(call, occurrence);
  for (const Failure& planned : failures_) {
    if (planned.call == call && planned.occurrence == occurrence) {
      *failure = planned.result;
      ++injected_;
      return true;
    }
  }
  return false;
}

void FakeCallLog::Note(const std::string& call) { calls_.push_back(call); }

void FakeCallLog::FailCall(const std::string& call, HRESULT result, int occurrence) {
  failures_.push_back({call, occurrence, result});
}

std::vector<std::string> FakeCallLog::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> matching;
  for (const std::string& call : calls_) {
    if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
  }
  return matching;
}
