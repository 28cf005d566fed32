// The knobs that make the board misbehave on purpose, read from the
// environment of the process that makes a filter.
#include <cstdlib>
#include <vector>

#include "simboard_private.h"

namespace {

const char REFUSE_BLOCK_KNOB[] = "TRAVUNE_SIMBOARD_REFUSE_BLOCK";

// Both character widths: a size query, then the value.
template <typename Char>
std::basic_string<Char> ReadVariable(DWORD(WINAPI* get)(const Char*, Char*, DWORD),
                                     const Char* name) {
  DWORD size = get(name, nullptr, 0);
  if (size == 0) return {};
  std::vector<Char> buffer(size);
  DWORD length = get(name, buffer.data(), size);
  if (length >= size) return {};
  return std::basic_string<Char>(buffer.data(), length);
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The non-empty items of a comma-separated list, trimmed.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string item = Trim(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (!item.empty()) items.push_back(item);
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

void Complain(const char* name, const std::string& item, const char* reason) {
  LogFormat("KnobIgnored %s=\"%s\": %s", name, item.c_str(), reason);
}

// Decimal or 0x-prefixed hex, surrounding blanks allowed, nothing else.
bool ParseNumber(const std::string& text, unsigned long maximum, unsigned long* value) {
  std::string digits = Trim(text);
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.erase(0, 2);
  }
  const char* allowed = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) return false;
  unsigned long long number = std::strtoull(digits.c_str(), nullptr, base);
  if (number > maximum) return false;
  *value = static_cast<unsigned long>(number);
  return true;
}

void ParseRefusedBlocks(const std::string& value, FilterKnobs* knobs) {
  for (const std::string& item : SplitList(value)) {
    size_t colon = item.find(':');
    unsigned long offset = 0;
    if (colon == std::string::npos ||
        !ParseNumber(item.substr(0, colon), EEPROM_SIZE - EEPROM_BLOCK_SIZE, &offset) ||
        offset % EEPROM_BLOCK_SIZE != 0) {
      Complain(REFUSE_BLOCK_KNOB, item, "expected <block offset>:<count>|forever");
      continue;
    }
    std::string count = Trim(item.substr(colon + 1));
    unsigned long times = 0;
    if (count == "forever") {
      knobs->refusedBlocks[static_cast<unsigned>(offset)] = REFUSE_FOREVER;
    } else if (ParseNumber(count, 1000000, &times) && times > 0) {
      knobs->refusedBlocks[static_cast<unsigned>(offset)] = static_cast<int>(times);
    } else {
      Complain(REFUSE_BLOCK_KNOB, item, "count must be 1..1000000 or forever");
    }
  }
}

std::string ReadEnvironment(const char* name) {
  return ReadVariable(GetEnvironmentVariableA, name);
}

}  // namespace

std::wstring ReadEnvironmentWide(const wchar_t* name) {
  return ReadVariable(GetEnvironmentVariableW, name);
}

FilterKnobs ReadFilterKnobs() {
  FilterKnobs knobs;
  ParseRefusedBlocks(ReadEnvironment(REFUSE_BLOCK_KNOB), &knobs);
  return knobs;
}
