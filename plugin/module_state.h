// The plug-in's own module state: which module's resources are current. A dialog is run with the
// plug-in's module state current, so its template is loaded from the plug-in and not the host.
#pragma once

struct ModuleState {
  void* hResourceModule;  // the plug-in's own module handle (null where resources are built in)
};

// The plug-in's module state, constructed at load.
ModuleState* GetTarnellModuleState();
// The module whose resources dialogs are loaded from now.
void* CurrentResourceModule();
// Records the plug-in's module handle; called once when the library is attached.
void SetTarnellModuleHandle(void* hModule);

// Makes the plug-in's module state current for the lifetime of the guard, then restores the
// previous one.
class ManageModuleState {
 public:
  ManageModuleState();
  ~ManageModuleState();
  ManageModuleState(const ManageModuleState&) = delete;
  ManageModuleState& operator=(const ManageModuleState&) = delete;

 private:
  ModuleState* m_pPrevious;
};
