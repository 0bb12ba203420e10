// Recording calls and matching forced failures for the testing interface.
#include "engine/trace/trace.h"

#include <cstdio>

#include "engine/testing.h"

namespace kv::engine::trace {

bool armed = false;

namespace {

struct ForcedFailure {
  std::string function;
  std::vector<testing::ArgMatch> filter;
  int remaining;  // below 0: every matching call fails until cleared
};

bool tracing = false;
std::vector<std::string> calls;
std::vector<ForcedFailure> failures;

void UpdateArmed() { armed = tracing || !failures.empty(); }

std::string Join(const char* function, const std::vector<std::string>& args) {
  std::string text = function;
  text += '(';
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += ", ";
    text += args[i];
  }
  text += ')';
  return text;
}

bool Matches(const ForcedFailure& failure, const char* function,
             const std::vector<std::string>& args) {
  if (failure.function != function) return false;
  for (const testing::ArgMatch& match : failure.filter) {
    if (match.index >= args.size() || args[match.index] != match.text) return false;
  }
  return true;
}

// Consumes one use of the first forced failure that matches the call.
bool TakeFailure(const char* function, const std::vector<std::string>& args) {
  for (size_t i = 0; i < failures.size(); ++i) {
    if (!Matches(failures[i], function, args)) continue;
    if (failures[i].remaining > 0 && --failures[i].remaining == 0) {
      failures.erase(failures.begin() + static_cast<long>(i));
      UpdateArmed();
    }
    return true;
  }
  return false;
}

}  // namespace

std::string FormatArg(int32_t value) { return std::to_string(value); }
std::string FormatArg(uint32_t value) { return std::to_string(value); }
std::string FormatArg(uint8_t value) { return std::to_string(value); }

std::string FormatArg(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string FormatArg(float value) { return FormatArg(static_cast<double>(value)); }
std::string FormatArg(const KV_HANDLE& handle) { return std::to_string(handle.Id()); }

std::string FormatArg(const char* text) {
  if (text == nullptr) return "0";
  return std::string("\"") + text + "\"";
}

std::string FormatArg(const KV_DOUBLE4& v) {
  return "(" + FormatArg(v.x) + ", " + FormatArg(v.y) + ", " + FormatArg(v.z) + ", " +
         FormatArg(v.w) + ")";
}

std::string FormatArg(const KV_FLOAT4& v) {
  return "(" + FormatArg(v.x) + ", " + FormatArg(v.y) + ", " + FormatArg(v.z) + ", " +
         FormatArg(v.w) + ")";
}

std::string FormatPointer(const void* pointer) { return pointer == nullptr ? "0" : "ptr"; }

bool Record(const char* function, std::vector<std::string> args) {
  if (tracing) calls.push_back(Join(function, args));
  return TakeFailure(function, args);
}

}  // namespace kv::engine::trace

// ---- the testing interface's trace and failure switches -----------------------------------

namespace kv::engine::testing {

void StartTrace() {
  trace::tracing = true;
  trace::calls.clear();
  trace::UpdateArmed();
}

void StopTrace() {
  trace::tracing = false;
  trace::UpdateArmed();
}

const std::vector<std::string>& TracedCalls() { return trace::calls; }

std::string TraceText() {
  std::string text;
  for (const std::string& call : trace::calls) text += call + "\n";
  return text;
}

void ClearTrace() { trace::calls.clear(); }

void FailNext(const std::string& function, std::vector<ArgMatch> filter, int times) {
  if (times == 0) return;
  trace::failures.push_back({function, std::move(filter), times});
  trace::UpdateArmed();
}

void ClearFailures() {
  trace::failures.clear();
  trace::UpdateArmed();
}

}  // namespace kv::engine::testing
