// Fault knobs that tests set through the environment. Every knob is off
// unless its variable is set; a value that cannot be understood is ignored
// and reported in the complaints (which end up in the request log).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

const int REFUSE_FOREVER = -1;

struct FilterKnobs {
  std::set<unsigned> refusedReads;        // offsets whose reads are refused
  std::map<unsigned, int> refusedBlocks;  // block offset -> refusals left, or REFUSE_FOREVER
  HRESULT getResult = S_OK;               // answered by an otherwise good Get
  HRESULT setResult = S_OK;               // answered by an otherwise good Set (block stored)
  bool omitGetSupport = false;
  bool omitSetSupport = false;
};

// Looks a variable up; false when it is not set.
using EnvironmentLookup = std::function<bool(const char* name, std::string* value)>;

FilterKnobs ParseFilterKnobs(const EnvironmentLookup& lookup, std::vector<std::string>* complaints);

// Registration-time knob TRAVUNE_SIMBOARD_NO_RECEIVER: "1" leaves the
// receiver entry out, "0" or empty keeps it.
bool ParseNoReceiver(const EnvironmentLookup& lookup, std::vector<std::string>* complaints);

// Strict number parsing shared by the knobs: decimal or 0x-prefixed hex,
// surrounding blanks allowed, nothing else.
bool ParseNumber(const std::string& text, unsigned long maximum, unsigned long* value);
