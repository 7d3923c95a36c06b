// The prompt line, the cursor text, error notices and message boxes. Every text is kept in
// Messages() and handed to the listener; prompt and cursor text also stay as the current ones.
#include "host/zet/call_log.h"
#include "host/zet/faults.h"
#include "host/zet/messages.h"

namespace zethost {
namespace {

std::vector<Message> g_messages;
std::function<void(const Message&)> g_listener;
std::u16string g_prompt;
std::u16string g_cursor;

void Show(const char* function, MessageKind kind, const char16_t* text) {
  Log(function, text);
  if (FaultHit(function)) return;
  if (text == nullptr) {
    NoteProtocolError(std::string(function) + ": null text");
    return;
  }
  Message message{kind, std::u16string(text)};
  if (kind == MessageKind::Prompt) g_prompt = message.text;
  if (kind == MessageKind::Cursor) g_cursor = message.text;
  g_messages.push_back(message);
  if (g_listener) g_listener(message);
}

}  // namespace

const std::vector<Message>& Messages() {
  return g_messages;
}

void ClearMessages() {
  g_messages.clear();
}

void SetMessageListener(std::function<void(const Message&)> listener) {
  g_listener = std::move(listener);
}

std::u16string PromptText() {
  return g_prompt;
}

std::u16string CursorText() {
  return g_cursor;
}

void ResetMessages() {
  g_messages.clear();
  g_listener = nullptr;
  g_prompt.clear();
  g_cursor.clear();
}

}  // namespace zethost

extern "C" {

void ZetMsgPutMessage(const char16_t* szText) {
  zethost::Show("ZetMsgPutMessage", zethost::MessageKind::Prompt, szText);
}

void ZetMsgPutCursorMessage(const char16_t* szText) {
  zethost::Show("ZetMsgPutCursorMessage", zethost::MessageKind::Cursor, szText);
}

void ZetMsgPutErrorMessage(const char16_t* szText) {
  zethost::Show("ZetMsgPutErrorMessage", zethost::MessageKind::Error, szText);
}

void ZetDlgMessageBox(const char16_t* szText) {
  zethost::Show("ZetDlgMessageBox", zethost::MessageKind::Box, szText);
}

}  // extern "C"
