#include "unit/host/module_fixture.h"

#include <string.h>

#include "closer/rules.h"
#include "closer/switch.h"
#include "harness/protocol/protocol.h"
#include "host/exports.h"
#include "host/request.h"
#include "shared/shared_state.h"
#include "unit/closer/test_desktop.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

void SwitchOff() {
  if (SharedState.enabled) SetEnabled(0, 0);
}

}  // namespace

LinkedModule::LinkedModule() {
  load = ::load;
  unload = ::unload;
  request = ::request;
  getversion = ::getversion;
  notify = ::notify;
  configure = ::configure;
}

bool LinkedModule::Start() {
  SwitchOff();
  memset(&SharedState, 0, sizeof SharedState);
  instance = TestModuleInstance();
  return DllMain(instance, DLL_PROCESS_ATTACH, NULL);
}

void LinkedModule::Stop() {
  SwitchOff();
  DllMain(instance, DLL_PROCESS_DETACH, NULL);
  {
    RulesHold hold;
    ClearRules();
  }
#ifndef _WIN32
  standin::RemoveAllHooks();
  standin::TakeMessageBoxes();
  standin::TakePostedMessages();
  standin::TakeNextHookCalls();
#endif
}

void ModuleTest::Load(const std::string& directory) { EXPECT_EQ(1, CallLoad(load, directory)); }

bool ModuleTest::Enabled() const { return SharedState.enabled == 1; }
