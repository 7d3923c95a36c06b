#include "plugin/module_state.h"

namespace {
ModuleState g_tarnellModuleState{nullptr};
ModuleState g_hostModuleState{nullptr};
ModuleState* g_pCurrentModuleState = &g_hostModuleState;
}  // namespace

ModuleState* GetTarnellModuleState() {
  return &g_tarnellModuleState;
}

void* CurrentResourceModule() {
  return g_pCurrentModuleState->hResourceModule;
}

void SetTarnellModuleHandle(void* hModule) {
  g_tarnellModuleState.hResourceModule = hModule;
}

ManageModuleState::ManageModuleState() : m_pPrevious(g_pCurrentModuleState) {
  g_pCurrentModuleState = GetTarnellModuleState();
}

ManageModuleState::~ManageModuleState() {
  g_pCurrentModuleState = m_pPrevious;
}
