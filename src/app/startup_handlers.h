// Handlers of the main window's created and first-activated events.
#pragma once

#include "runtime/runtime.h"

namespace app {

rt::Value onMainWindowCreated(rt::Event& e);
rt::Value onMainWindowFirstActivated(rt::Event& e);

}  // namespace app
