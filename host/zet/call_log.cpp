// The log of Zet* calls with their arguments, and the list of protocol errors.
#include "host/zet/call_log.h"

#include <cstdio>

#include "host/files/number_text.h"

namespace zethost {
namespace {

std::vector<Call> g_calls;
std::vector<std::string> g_protocolErrors;

void AppendPoint(std::string& text, Point2 point) {
  text += Number17(point.x);
  text += ',';
  text += Number17(point.y);
}

}  // namespace

bool g_callLogging = true;

void LogCall(const char* function, std::string args) {
  g_calls.push_back(Call{function, std::move(args)});
}

void ResetCallLog() {
  g_calls.clear();
  g_callLogging = true;
  g_protocolErrors.clear();
}

void NoteProtocolError(std::string text) {
  g_protocolErrors.push_back(std::move(text));
}

std::size_t ProtocolErrorCount() {
  return g_protocolErrors.size();
}

const std::vector<std::string>& ProtocolErrors() {
  return g_protocolErrors;
}

const std::vector<Call>& CallLog() {
  return g_calls;
}

void ClearCallLog() {
  g_calls.clear();
}

void SetCallLogging(bool enabled) {
  g_callLogging = enabled;
}

std::vector<std::string> CalledFunctions() {
  std::vector<std::string> names;
  names.reserve(g_calls.size());
  for (const Call& call : g_calls) names.push_back(call.function);
  return names;
}

void AppendArg(std::string& text, std::int32_t value) {
  text += std::to_string(value);
}
void AppendArg(std::string& text, std::uint32_t value) {
  text += std::to_string(value);
}
void AppendArg(std::string& text, std::uint64_t value) {
  text += std::to_string(value);
}
void AppendArg(std::string& text, bool value) {
  text += value ? "1" : "0";
}

void AppendArg(std::string& text, const Point2* point) {
  if (point == nullptr) {
    text += "null";
  } else {
    AppendPoint(text, *point);
  }
}

void AppendArg(std::string& text, const char16_t* value) {
  text += value == nullptr ? std::string("null") : ToUtf8(value);
}

void AppendArg(std::string& text, const ElementRef* ref) {
  if (ref == nullptr) {
    text += "null";
    return;
  }
  text += std::to_string(ref->nInstanceId) + ',' + std::to_string(ref->nSegmentId);
}

void AppendArg(std::string& text, const ObjectFilter* filter) {
  if (filter == nullptr) {
    text += "null";
    return;
  }
  text += std::to_string(filter->nTarget) + ',' + std::to_string(filter->nPickFlags) + ',' +
          std::to_string(filter->nReserved1) + ',' + std::to_string(filter->nReserved2);
}

void AppendArg(std::string& text, const EchoRecord* echo) {
  if (echo == nullptr) {
    text += "null";
    return;
  }
  text += std::to_string(echo->nKind) + ',';
  AppendPoint(text, echo->ptAnchor);
}

void AppendArg(std::string& text, MaskArg value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(value.mask));
  text += buffer;
}

void AppendArg(std::string& text, CallbackArg value) {
  text += value.set ? "fn" : "null";
}

void AppendArg(std::string& text, PointerArg value) {
  text += value.pointer != nullptr ? "ptr" : "null";
}

}  // namespace zethost
