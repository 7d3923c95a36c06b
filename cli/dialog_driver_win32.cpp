// The dialog driver of the Windows command-line host. While the plug-in runs a modal dialog the
// main thread sits in the dialog's message loop, so a driver thread takes the user's dialog
// actions from the input and turns each into the window messages a user's mouse and keyboard
// would cause: the list view itself sends its click notifications, the buttons their BN_CLICKED,
// the dialog manager its IDOK and IDCANCEL.
//
// Two hooks on the main thread tell the driver what happens there: a message hook sees a dialog
// window start to run and sees the driver's own marker messages come out of the queue, and a
// window hook sees the dialog being destroyed. Posted messages are taken in the order they were
// posted, so once a marker posted after an action's messages comes out, the action has had its
// effect and the next one may follow. Every wait is bounded, except the wait for a dialog to
// appear, which costs nothing.
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "cli/dialog_driver.h"
#include "settings/dialog_actions.h"

// windows.h comes last: its macros would otherwise rewrite names of the headers above.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

namespace {

// How long one message of an action may take before the driver gives up on it.
constexpr DWORD kStepTimeoutMs = 10000;

// What the hooks on the main thread share with the driver thread.
struct DriverState {
  std::function<std::optional<std::string>()> readLine;
  DWORD nMainThreadId = 0;
  UINT nMarkerMessage = 0;
  HANDLE hDialogShown = nullptr;  // auto-reset: a dialog window started running
  HANDLE hDialogGone = nullptr;   // auto-reset: the driven dialog is being destroyed
  HANDLE hMarkerSeen = nullptr;   // auto-reset: a marker came out of the main thread's queue
  std::atomic<HWND> hShownDialog{nullptr};
  std::atomic<HWND> hDrivenDialog{nullptr};
  std::atomic<WPARAM> nLastMarker{0};
  WPARAM nNextMarker = 0;  // driver thread only
};

DriverState g_driver;

// The driver's remarks read as the terminal view's, so that a session's transcript is the same on
// every platform.
void Note(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

bool HasClass(HWND hWindow, const wchar_t* szClass) {
  wchar_t className[64] = {};
  GetClassNameW(hWindow, className, 64);
  return lstrcmpiW(className, szClass) == 0;
}

bool IsDialogWindow(HWND hWindow) {
  return hWindow != nullptr && HasClass(hWindow, L"#32770");
}

// ---- Hooks, run on the main thread ----------------------------------------------------------

// A shown dialog window whose messages are being taken from the queue is running its modal loop.
void NoteRunningDialog(HWND hWindow) {
  if (hWindow == nullptr) return;
  HWND hRoot = GetAncestor(hWindow, GA_ROOT);
  if (hRoot == g_driver.hShownDialog.load() || !IsDialogWindow(hRoot)) return;
  if (!IsWindowVisible(hRoot)) return;
  g_driver.hShownDialog.store(hRoot);
  SetEvent(g_driver.hDialogShown);
}

LRESULT CALLBACK MessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && wParam == PM_REMOVE) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    if (message.message == g_driver.nMarkerMessage) {
      g_driver.nLastMarker.store(message.wParam);
      SetEvent(g_driver.hMarkerSeen);
    } else {
      NoteRunningDialog(message.hwnd);
    }
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK WindowHook(int nCode, WPARAM wParam, LPARAM lParam) {
  HWND hWindow = reinterpret_cast<HWND>(wParam);
  if (nCode == HCBT_ACTIVATE) NoteRunningDialog(hWindow);
  if (nCode == HCBT_DESTROYWND) {
    // A later dialog may be given the same handle.
    if (hWindow == g_driver.hShownDialog.load()) g_driver.hShownDialog.store(nullptr);
    if (hWindow == g_driver.hDrivenDialog.load()) SetEvent(g_driver.hDialogGone);
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// ---- Waiting, on the driver thread ----------------------------------------------------------

enum class Settled { kDone, kDialogGone, kTimedOut };

// Posts a marker behind everything posted so far and waits until it comes out of the queue.
Settled Settle(HWND hDialog) {
  const WPARAM nMarker = ++g_driver.nNextMarker;
  if (!PostMessageW(hDialog, g_driver.nMarkerMessage, nMarker, 0)) return Settled::kDialogGone;
  const HANDLE events[] = {g_driver.hMarkerSeen, g_driver.hDialogGone};
  for (;;) {
    const DWORD nWait = WaitForMultipleObjects(2, events, FALSE, kStepTimeoutMs);
    if (nWait == WAIT_OBJECT_0 + 1) return Settled::kDialogGone;
    if (nWait != WAIT_OBJECT_0) return Settled::kTimedOut;
    if (g_driver.nLastMarker.load() >= nMarker) return Settled::kDone;
  }
}

// Posts one message of an action and waits for it to be handled.
Settled PostAndSettle(HWND hDialog, HWND hTarget, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageW(hTarget, nMessage, wParam, lParam)) return Settled::kDialogGone;
  return Settle(hDialog);
}

HWND WaitForDialog() {
  for (;;) {
    WaitForSingleObject(g_driver.hDialogShown, INFINITE);
    HWND hDialog = g_driver.hShownDialog.load();
    if (hDialog != nullptr && IsWindow(hDialog)) return hDialog;
  }
}

// ---- Mouse and keyboard ----------------------------------------------------------------------

HWND FindListView(HWND hDialog) {
  for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild != nullptr;
       hChild = GetWindow(hChild, GW_HWNDNEXT)) {
    if (HasClass(hChild, WC_LISTVIEWW)) return hChild;
  }
  return nullptr;
}

// A press of the left button at a point of the list (client coordinates), as the mouse makes
// it: the button goes down and up; a double-click adds the second press.
Settled ClickAt(HWND hDialog, HWND hList, POINT point, bool bDouble) {
  const LPARAM position = MAKELPARAM(point.x, point.y);
  const UINT sequence[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                           WM_LBUTTONUP};
  const int nMessages = bDouble ? 5 : 3;
  for (int i = 0; i < nMessages; ++i) {
    const WPARAM keys =
        (sequence[i] == WM_LBUTTONDOWN || sequence[i] == WM_LBUTTONDBLCLK) ? MK_LBUTTON : 0;
    const Settled settled = PostAndSettle(hDialog, hList, sequence[i], keys, position);
    if (settled != Settled::kDone) return settled;
  }
  return Settled::kDone;
}

// The middle of the first column of a row (1-based), scrolled into view as a user would.
std::optional<POINT> RowPoint(HWND hList, int nRow) {
  const auto nCount = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
  if (nRow < 1 || nRow > nCount) return std::nullopt;
  SendMessageW(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow - 1), FALSE);
  RECT rect{};
  rect.left = LVIR_LABEL;
  if (!SendMessageW(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nRow - 1),
                    reinterpret_cast<LPARAM>(&rect))) {
    return std::nullopt;
  }
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A point of the list's empty area, a little below its last row.
std::optional<POINT> PointBelowRows(HWND hList) {
  RECT client{};
  GetClientRect(hList, &client);
  const auto nCount = static_cast<int>(SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
  LONG nTop = client.top;
  if (nCount > 0) {
    SendMessageW(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nCount - 1), FALSE);
    RECT last{};
    last.left = LVIR_BOUNDS;
    SendMessageW(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nCount - 1),
                 reinterpret_cast<LPARAM>(&last));
    nTop = last.bottom;
  }
  const LONG nY = nTop + 6;
  if (nY >= client.bottom) return std::nullopt;
  return POINT{client.left + 10, nY};
}

// The list that mouse and keyboard actions go to, or nullptr after a note why there is none.
HWND UsableList(HWND hDialog) {
  HWND hList = FindListView(hDialog);
  if (hList == nullptr) {
    Note("this dialog has no list");
    return nullptr;
  }
  if (!IsWindowEnabled(hList)) {
    Note("the list is disabled");
    return nullptr;
  }
  return hList;
}

Settled ClickList(HWND hDialog, const DialogAction& action) {
  HWND hList = UsableList(hDialog);
  if (hList == nullptr) return Settled::kDone;
  const bool bBelow = action.kind == DialogActionKind::kClickBelow ||
                      action.kind == DialogActionKind::kDoubleClickBelow;
  const std::optional<POINT> point = bBelow ? PointBelowRows(hList) : RowPoint(hList, action.value);
  if (!point) {
    Note(bBelow ? "the list has no empty area below its last row"
                : "the list has no row " + std::to_string(action.value));
    return Settled::kDone;
  }
  const bool bDouble = action.kind == DialogActionKind::kDoubleClickRow ||
                       action.kind == DialogActionKind::kDoubleClickBelow;
  return ClickAt(hDialog, hList, *point, bDouble);
}

// A key pressed and released on a window, with the key's scan code as the keyboard gives it.
Settled PressKey(HWND hDialog, HWND hTarget, UINT nKey) {
  const bool bExtended = nKey == VK_UP || nKey == VK_DOWN || nKey == VK_HOME || nKey == VK_END;
  const LPARAM keyData = 1 | (static_cast<LPARAM>(MapVirtualKeyW(nKey, MAPVK_VK_TO_VSC)) << 16) |
                         (bExtended ? (1 << 24) : 0);
  const Settled settled = PostAndSettle(hDialog, hTarget, WM_KEYDOWN, nKey, keyData);
  if (settled != Settled::kDone) return settled;
  return PostAndSettle(hDialog, hTarget, WM_KEYUP, nKey, keyData | (3LL << 30));
}

// Keys typed by the user go to the control that has the keyboard focus.
HWND FocusOf(HWND hDialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (GetGUIThreadInfo(g_driver.nMainThreadId, &info) && info.hwndFocus != nullptr &&
      GetAncestor(info.hwndFocus, GA_ROOT) == hDialog) {
    return info.hwndFocus;
  }
  return hDialog;
}

Settled PressListKey(HWND hDialog, UINT nKey) {
  HWND hList = UsableList(hDialog);
  if (hList == nullptr) return Settled::kDone;
  return PressKey(hDialog, hList, nKey);
}

// A button click: the button itself sends BN_CLICKED (and an auto radio button checks itself).
Settled ClickButton(HWND hDialog, int nId) {
  HWND hButton = GetDlgItem(hDialog, nId);
  if (hButton == nullptr) {
    Note("there is no control " + std::to_string(nId));
    return Settled::kDone;
  }
  if (!IsWindowEnabled(hButton)) {
    Note("control " + std::to_string(nId) + " is disabled");
    return Settled::kDone;
  }
  if (!HasClass(hButton, L"Button")) {
    Note("control " + std::to_string(nId) + " is not a button");
    return Settled::kDone;
  }
  return PostAndSettle(hDialog, hButton, BM_CLICK, 0, 0);
}

Settled Perform(HWND hDialog, const DialogAction& action) {
  switch (action.kind) {
    case DialogActionKind::kOk:
      return ClickButton(hDialog, IDOK);
    case DialogActionKind::kCancel:
      return ClickButton(hDialog, IDCANCEL);
    case DialogActionKind::kEnter:
      return PressKey(hDialog, FocusOf(hDialog), VK_RETURN);
    case DialogActionKind::kEscape:
      return PressKey(hDialog, FocusOf(hDialog), VK_ESCAPE);
    case DialogActionKind::kClose:
      return PostAndSettle(hDialog, hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    case DialogActionKind::kClickControl:
      return ClickButton(hDialog, action.value);
    case DialogActionKind::kKeyDown:
      return PressListKey(hDialog, VK_DOWN);
    case DialogActionKind::kKeyUp:
      return PressListKey(hDialog, VK_UP);
    case DialogActionKind::kKeyHome:
      return PressListKey(hDialog, VK_HOME);
    case DialogActionKind::kKeyEnd:
      return PressListKey(hDialog, VK_END);
    default:
      return ClickList(hDialog, action);
  }
}

// Runs the user's actions on one dialog until it is gone. Messages that an action's handlers
// post in turn (the close box's WM_CLOSE posts IDCANCEL) are settled by one more marker.
void DriveDialog(HWND hDialog) {
  g_driver.hDrivenDialog.store(hDialog);
  ResetEvent(g_driver.hDialogGone);
  Settled settled = Settle(hDialog);
  while (settled != Settled::kDialogGone && IsWindow(hDialog)) {
    std::fputs("dialog> ", stdout);
    std::fflush(stdout);
    const std::optional<std::string> line = g_driver.readLine();
    std::optional<DialogAction> action = DialogAction{DialogActionKind::kCancel, 0};
    if (!line) {
      Note("(end of input: cancel)");
    } else {
      action = ParseDialogAction(*line);
    }
    if (!action) {
      Note("unknown dialog action: " + *line);
      continue;
    }
    settled = Perform(hDialog, *action);
    if (settled == Settled::kDone) settled = Settle(hDialog);
    if (settled == Settled::kTimedOut) Note("the dialog does not respond");
  }
  g_driver.hDrivenDialog.store(nullptr);
}

DWORD WINAPI DriverThread(LPVOID) {
  for (;;) DriveDialog(WaitForDialog());
}

}  // namespace

void StartDialogDriver(std::function<std::optional<std::string>()> readLine) {
  if (g_driver.hDialogShown != nullptr) return;
  g_driver.readLine = std::move(readLine);
  g_driver.nMainThreadId = GetCurrentThreadId();
  g_driver.nMarkerMessage = RegisterWindowMessageW(L"Tarnell.DialogDriver.Marker");
  g_driver.hDialogShown = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  g_driver.hDialogGone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  g_driver.hMarkerSeen = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  SetWindowsHookExW(WH_GETMESSAGE, MessageHook, nullptr, g_driver.nMainThreadId);
  SetWindowsHookExW(WH_CBT, WindowHook, nullptr, g_driver.nMainThreadId);
  HANDLE hThread = CreateThread(nullptr, 0, DriverThread, nullptr, 0, nullptr);
  if (hThread != nullptr) CloseHandle(hThread);
}
