#include "plugin/tarnell_app.h"

CTarnellApp::CTarnellApp() = default;

CTarnellApp::~CTarnellApp() = default;

bool CTarnellApp::InitInstance() {
  CWinApp::InitInstance();
  return true;
}

// The one application object. The library's load hook asks for it first, so it is constructed
// when the library is loaded, whatever order the module's static objects are built in, and it is
// destroyed when the library is unloaded.
CTarnellApp& TheTarnellApp() {
  static CTarnellApp theApp;
  return theApp;
}
