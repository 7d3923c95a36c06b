#include "plugin/tarnell_app.h"

namespace {
// Constructed with the library, destroyed when it is unloaded.
CTarnellApp theApp;
}  // namespace

CTarnellApp::CTarnellApp() = default;

CTarnellApp::~CTarnellApp() = default;

bool CTarnellApp::InitInstance() {
  CWinApp::InitInstance();
  return true;
}

CTarnellApp& TheTarnellApp() { return theApp; }
