// The Windows load hook of Tarnell.dll. The C runtime has constructed the module-level objects
// (the application object among them) before it calls DllMain; attaching the library records
// its module handle, so that dialogs load their templates from the plug-in's own resources, and
// initialises the application object, whose result decides whether the load succeeds.
#include "plugin/module_state.h"
#include "plugin/tarnell_app.h"

// windows.h comes last: its macros would otherwise rewrite names of the plug-in's headers.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, LPVOID) {
  if (nReason != DLL_PROCESS_ATTACH) return TRUE;
  SetTarnellModuleHandle(hInstance);
  return TheTarnellApp().InitInstance() ? TRUE : FALSE;
}
