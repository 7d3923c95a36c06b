// Registration, the execute/ready chain and the start of a run.
//
// A delivered event calls the execute callback with a fresh event-data token and the host's
// two fixed values. Its result decides what follows: STEP_NEXT calls the ready callback that
// the execute callback installed (which installs the next execute callback), STEP_FINISHED
// ends the run, STEP_STAY keeps the step. A callback that breaks this protocol is noted in
// the InputResult and in ProtocolErrors(); the step then stays.
#include <string>

#include "host/zet/call_log.h"
#include "host/zet/control.h"
#include "host/zet/faults.h"
#include "host/zet/input_state.h"

namespace zethost {
namespace {

struct Registration {
  bool registered = false;
  StartCallback start = nullptr;
  SecondCallback second = nullptr;
  ThirdCallback third = nullptr;
  std::uint64_t opaque = 0;
};

struct Run {
  bool running = false;
  bool delivering = false;
  ExecuteCallback execute = nullptr;
  ReadyCallback ready = nullptr;
  int executeInstalls = 0;  // counts ZetCtlSetExecuteFunc calls
  int readyInstalls = 0;    // counts ZetCtlSetReadyFunc calls
};

Registration g_registration;
std::int32_t g_registrationResult = 1;
Run g_run;

void EndRun() {
  g_run.running = false;
  g_run.execute = nullptr;
  g_run.ready = nullptr;
  BeginStepInput();
}

void AddNote(InputResult& result, const std::string& text) {
  if (!result.note.empty()) result.note += "; ";
  result.note += text;
}

// Every callback gives back what it was handed before it returns.
void CheckResourcesReleased(const char* callback) {
  const OpenResources open = Resources();
  if (open.holeData == 0 && open.idArrays == 0 && open.selections == 0) return;
  NoteProtocolError(std::string(callback) + " returned with " + std::to_string(open.holeData) +
                    " hole records, " + std::to_string(open.idArrays) + " id arrays and " +
                    std::to_string(open.selections) + " selections still open");
}

void Complain(InputResult& result, const std::string& text) {
  NoteProtocolError(text);
  AddNote(result, text);
}

// Calls the ready callback installed by the execute callback that just returned STEP_NEXT.
void RunReadyCallback(InputResult& result, int readyInstallsBefore) {
  if (g_run.readyInstalls == readyInstallsBefore || g_run.ready == nullptr) {
    Complain(result, "the execute callback returned 2 without installing a ready callback");
    return;
  }
  const int executeInstallsBefore = g_run.executeInstalls;
  BeginStepInput();
  g_run.ready();
  CheckResourcesReleased("a ready callback");
  if (g_run.executeInstalls == executeInstallsBefore || g_run.execute == nullptr) {
    Complain(result, "the ready callback installed no execute callback");
  }
}

void FollowResult(InputResult& result, int readyInstallsBefore) {
  switch (result.result) {
    case STEP_FINISHED:
      EndRun();
      break;
    case STEP_NEXT:
      RunReadyCallback(result, readyInstallsBefore);
      break;
    case STEP_STAY:
      break;
    default:
      Complain(result, "the execute callback returned " + std::to_string(result.result));
      break;
  }
}

}  // namespace

InputResult DeliverPayload(EventPayload payload) {
  InputResult result;
  if (!g_run.running || g_run.execute == nullptr) {
    result.note = "no command is running";
    return result;
  }
  if (g_run.delivering) {
    result.note = "an event is being handled already";
    return result;
  }
  const std::int32_t code = payload.code;
  const std::uint64_t token = OpenEvent(std::move(payload));
  const std::size_t errorsBefore = ProtocolErrorCount();
  const int readyInstallsBefore = g_run.readyInstalls;
  g_run.delivering = true;
  result.result = g_run.execute(code, token, kValue3, kValue4);
  g_run.delivering = false;
  CloseEvent(token);
  CheckResourcesReleased("an execute callback");
  result.delivered = true;
  if (ProtocolErrorCount() != errorsBefore) AddNote(result, "the command misused the host");
  FollowResult(result, readyInstallsBefore);
  return result;
}

void ResetControl() {
  g_registration = Registration();
  g_registrationResult = 1;
  g_run = Run();
}

bool CommandRegistered() {
  return g_registration.registered;
}

void SetRegistrationResult(std::int32_t result) {
  g_registrationResult = result;
}

std::uint64_t RegisteredOpaque() {
  return g_registration.opaque;
}

bool CallSecondCallback(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
  return g_registration.second != nullptr && g_registration.second(a, b, c, d);
}

void CallThirdCallback() {
  if (g_registration.third != nullptr) g_registration.third();
}

void StartCommand() {
  if (g_registration.start == nullptr || g_run.delivering) return;
  EndRun();
  g_run.running = true;
  const int executeInstallsBefore = g_run.executeInstalls;
  g_registration.start();
  CheckResourcesReleased("the start callback");
  if (g_run.executeInstalls == executeInstallsBefore || g_run.execute == nullptr) {
    NoteProtocolError("the start callback installed no execute callback");
    EndRun();
  }
}

bool CommandRunning() {
  return g_run.running;
}

ExecuteCallback InstalledExecuteCallback() {
  return g_run.execute;
}

ReadyCallback InstalledReadyCallback() {
  return g_run.ready;
}

}  // namespace zethost

extern "C" {

std::int32_t ZetCtlRegisterZetLib2(StartCallback pStart, SecondCallback pSecond,
                                   ThirdCallback pThird, std::uint64_t nOpaque) {
  using namespace zethost;
  Log("ZetCtlRegisterZetLib2", CallbackArg{pStart != nullptr}, CallbackArg{pSecond != nullptr},
      CallbackArg{pThird != nullptr}, nOpaque);
  if (FaultHit("ZetCtlRegisterZetLib2")) return 0;
  if (g_registrationResult <= 0) return g_registrationResult;  // the host refuses the command
  g_registration = Registration{true, pStart, pSecond, pThird, nOpaque};
  return g_registrationResult;
}

void ZetCtlSetExecuteFunc(ExecuteCallback pExecute, const char16_t* szText) {
  using namespace zethost;
  Log("ZetCtlSetExecuteFunc", CallbackArg{pExecute != nullptr}, szText);
  if (FaultHit("ZetCtlSetExecuteFunc")) return;
  g_run.execute = pExecute;
  ++g_run.executeInstalls;
}

void ZetCtlSetReadyFunc(ReadyCallback pReady, const char16_t* szText) {
  using namespace zethost;
  Log("ZetCtlSetReadyFunc", CallbackArg{pReady != nullptr}, szText);
  if (FaultHit("ZetCtlSetReadyFunc")) return;
  g_run.ready = pReady;
  ++g_run.readyInstalls;
}

}  // extern "C"
