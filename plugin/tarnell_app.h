// The plug-in's application object: one instance, constructed when the library is loaded.
#pragma once

// What the dialog framework's application class gives an application object.
class CWinApp {
 public:
  explicit CWinApp(const char16_t* szAppName = nullptr) : m_pszAppName(szAppName) {}
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual bool InitInstance() { return true; }

 private:
  [[maybe_unused]] const char16_t* m_pszAppName;  // kept as the framework keeps it; not read
};

class CTarnellApp : public CWinApp {
 public:
  CTarnellApp();
  ~CTarnellApp() override;
  bool InitInstance() override;  // always true
};

// The module's application object.
CTarnellApp& TheTarnellApp();
