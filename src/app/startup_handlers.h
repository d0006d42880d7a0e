// Handlers of the main window's created and first-activated events.
#pragma once

#include "runtime/runtime.h"

namespace app {

runtime::Value onMainWindowCreated(runtime::Event& e);
runtime::Value onMainWindowFirstActivated(runtime::Event& e);

}  // namespace app
