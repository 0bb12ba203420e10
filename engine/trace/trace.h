// The call trace and forced failures, seen from inside the engine. Every Kv* function reports
// itself here at its entry with its arguments; when a test traces, the call is recorded as text
// ("KvSetState(262, 1, 1, 1, 1)"), and when a forced failure matches, the function returns its
// failure result without doing anything. Nothing is formatted while no test asks for either.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/kv_engine.h"

namespace kv::engine::trace {

// True while a trace is recorded or a forced failure waits.
extern bool armed;

std::string FormatArg(int32_t value);
std::string FormatArg(uint32_t value);
std::string FormatArg(uint8_t value);
std::string FormatArg(double value);
std::string FormatArg(float value);
std::string FormatArg(const KV_HANDLE& handle);  // the id, 0 for a null handle
std::string FormatArg(const char* text);         // quoted, 0 for null
std::string FormatArg(const KV_DOUBLE4& v);      // (x, y, z, w)
std::string FormatArg(const KV_FLOAT4& v);
std::string FormatPointer(const void* pointer);  // ptr, or 0 for null
template <typename T>
std::string FormatArg(T* pointer) {
  return FormatPointer(pointer);
}

// Records the call (when tracing) and tells whether a forced failure applies to it.
bool Record(const char* function, std::vector<std::string> args);

// The entry check of every Kv* function: true when the call must fail.
template <typename... A>
inline bool Call(const char* function, const A&... args) {
  if (!armed) return false;
  return Record(function, {FormatArg(args)...});
}

}  // namespace kv::engine::trace
