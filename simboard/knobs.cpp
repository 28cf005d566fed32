#include "knobs.h"

namespace {

const char kRefuseReads[] = "TRAVUNE_SIMBOARD_REFUSE_READS";
const char kRefuseBlock[] = "TRAVUNE_SIMBOARD_REFUSE_BLOCK";
const char kGetResult[] = "TRAVUNE_SIMBOARD_GET_RESULT";
const char kSetResult[] = "TRAVUNE_SIMBOARD_SET_RESULT";
const char kNoSupport[] = "TRAVUNE_SIMBOARD_NO_SUPPORT";
const char kNoReceiver[] = "TRAVUNE_SIMBOARD_NO_RECEIVER";

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string item = Trim(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (!item.empty()) items.push_back(item);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return items;
}

void Complain(std::vector<std::string>* complaints, const char* name, const std::string& value,
              const char* reason) {
  complaints->push_back(std::string("KnobIgnored ") + name + "=\"" + value + "\": " + reason);
}

void ParseRefusedReads(const std::string& value, FilterKnobs* knobs,
                       std::vector<std::string>* complaints) {
  for (const std::string& item : SplitList(value)) {
    unsigned long offset = 0;
    if (!ParseNumber(item, 255, &offset)) {
      Complain(complaints, kRefuseReads, item, "not an offset 0..255");
      continue;
    }
    knobs->refusedReads.insert(static_cast<unsigned>(offset));
  }
}

void ParseRefusedBlocks(const std::string& value, FilterKnobs* knobs,
                        std::vector<std::string>* complaints) {
  for (const std::string& item : SplitList(value)) {
    size_t colon = item.find(':');
    unsigned long offset = 0;
    if (colon == std::string::npos || !ParseNumber(item.substr(0, colon), 252, &offset) ||
        offset % 4 != 0) {
      Complain(complaints, kRefuseBlock, item, "expected <block offset>:<count>|forever");
      continue;
    }
    std::string count = Trim(item.substr(colon + 1));
    unsigned long times = 0;
    if (count == "forever") {
      knobs->refusedBlocks[static_cast<unsigned>(offset)] = REFUSE_FOREVER;
    } else if (ParseNumber(count, 1000000, &times) && times > 0) {
      knobs->refusedBlocks[static_cast<unsigned>(offset)] = static_cast<int>(times);
    } else {
      Complain(complaints, kRefuseBlock, item, "count must be 1..1000000 or forever");
    }
  }
}

bool ParseResult(const std::string& text, HRESULT* result) {
  static const struct {
    const char* name;
    HRESULT value;
  } kNames[] = {{"S_OK", S_OK},
                {"S_FALSE", S_FALSE},
                {"E_FAIL", E_FAIL},
                {"E_INVALIDARG", E_INVALIDARG},
                {"E_NOTIMPL", E_NOTIMPL}};
  std::string trimmed = Trim(text);
  for (const auto& entry : kNames) {
    if (trimmed == entry.name) {
      *result = entry.value;
      return true;
    }
  }
  unsigned long number = 0;
  if (trimmed.size() > 2 && trimmed[0] == '0' && (trimmed[1] == 'x' || trimmed[1] == 'X') &&
      ParseNumber(trimmed, 0xFFFFFFFFul, &number)) {
    *result = static_cast<HRESULT>(number);
    return true;
  }
  return false;
}

void ParseResultKnob(const EnvironmentLookup& lookup, const char* name, HRESULT* result,
                     std::vector<std::string>* complaints) {
  std::string value;
  if (!lookup(name, &value)) return;
  if (!ParseResult(value, result)) {
    Complain(complaints, name, value,
             "expected S_OK, S_FALSE, E_FAIL, E_INVALIDARG, E_NOTIMPL or 0x...");
  }
}

void ParseNoSupport(const std::string& value, FilterKnobs* knobs,
                    std::vector<std::string>* complaints) {
  for (const std::string& item : SplitList(value)) {
    if (item == "get") {
      knobs->omitGetSupport = true;
    } else if (item == "set") {
      knobs->omitSetSupport = true;
    } else {
      Complain(complaints, kNoSupport, item, "expected get, set or get,set");
    }
  }
}

}  // namespace

bool ParseNumber(const std::string& text, unsigned long maximum, unsigned long* value) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  int base = 10;
  size_t start = 0;
  if (trimmed.size() > 2 && trimmed[0] == '0' && (trimmed[1] == 'x' || trimmed[1] == 'X')) {
    base = 16;
    start = 2;
  }
  unsigned long long result = 0;
  for (size_t i = start; i < trimmed.size(); ++i) {
    char c = trimmed[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
    result = result * static_cast<unsigned>(base) + digit;
    if (result > maximum) return false;
  }
  *value = static_cast<unsigned long>(result);
  return true;
}

FilterKnobs ParseFilterKnobs(const EnvironmentLookup& lookup,
                             std::vector<std::string>* complaints) {
  FilterKnobs knobs;
  std::string value;
  if (lookup(kRefuseReads, &value)) ParseRefusedReads(value, &knobs, complaints);
  if (lookup(kRefuseBlock, &value)) ParseRefusedBlocks(value, &knobs, complaints);
  ParseResultKnob(lookup, kGetResult, &knobs.getResult, complaints);
  ParseResultKnob(lookup, kSetResult, &knobs.setResult, complaints);
  if (lookup(kNoSupport, &value)) ParseNoSupport(value, &knobs, complaints);
  return knobs;
}

bool ParseNoReceiver(const EnvironmentLookup& lookup, std::vector<std::string>* complaints) {
  std::string value;
  if (!lookup(kNoReceiver, &value)) return false;
  std::string trimmed = Trim(value);
  if (trimmed == "1") return true;
  if (!trimmed.empty() && trimmed != "0")
    Complain(complaints, kNoReceiver, value, "expected 1 or 0");
  return false;
}
