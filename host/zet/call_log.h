// Recording of Zet* calls and of protocol errors (misuse of the host the stand-in noticed).
//
// Argument text: the input arguments in order, comma separated. Integers, ids, tokens and
// handles are decimal; the event mask alone is hexadecimal ("0x20800"), as it is a bit set;
// doubles use 17 significant digits; a point is "x,y", an element reference
// "instance,segment", a filter its four values; texts are UTF-8; a callback is "fn" and any
// other pointer argument "ptr", or "null" for either when null. Output buffers are not
// listed, only the capacities passed with them.
#pragma once

#include <cstdint>
#include <string>

#include "host/stand_in.h"

namespace zethost {

// Whether calls are logged: asked by every Zet* call, so it costs one load when logging is off.
extern bool g_callLogging;
inline bool CallLoggingEnabled() {
  return g_callLogging;
}
void LogCall(const char* function, std::string args);
void ResetCallLog();

// Misuse of the host noticed while serving a call (wrong token, missing callback, ...).
void NoteProtocolError(std::string text);
std::size_t ProtocolErrorCount();

struct MaskArg {
  std::int32_t mask;
};
struct CallbackArg {
  bool set;
};
struct PointerArg {
  const void* pointer;
};

void AppendArg(std::string& text, std::int32_t value);
void AppendArg(std::string& text, std::uint32_t value);
void AppendArg(std::string& text, std::uint64_t value);
void AppendArg(std::string& text, bool value);
void AppendArg(std::string& text, const Point2* point);
void AppendArg(std::string& text, const char16_t* value);
void AppendArg(std::string& text, const ElementRef* ref);
void AppendArg(std::string& text, const ObjectFilter* filter);
void AppendArg(std::string& text, const EchoRecord* echo);
void AppendArg(std::string& text, MaskArg value);
void AppendArg(std::string& text, CallbackArg value);
void AppendArg(std::string& text, PointerArg value);

inline std::string JoinArgs() {
  return {};
}
template <typename First, typename... Rest>
std::string JoinArgs(const First& first, const Rest&... rest) {
  std::string text;
  AppendArg(text, first);
  ((text += ',', AppendArg(text, rest)), ...);
  return text;
}

// Appends {function, args} to the call log unless logging is off.
template <typename... Args>
inline void Log(const char* function, const Args&... args) {
  if (CallLoggingEnabled()) LogCall(function, JoinArgs(args...));
}

}  // namespace zethost
