// The test frame for tests that draw with the GUI toolkit (its layer and
// above). Its device ends with it, as in the game: the toolkit lets go of the
// fonts and textures it made on this renderer before the test's renderer is
// destroyed.
#pragma once

#include "gui/dxut_resource_manager.h"
#include "support/fake_platform_framework.h"

namespace twtest {

class FakeFramework final : public FakePlatformFramework {
 public:
  using FakePlatformFramework::FakePlatformFramework;
  ~FakeFramework() override {
    CDXUTDialogResourceManager& resources = GetGlobalDialogResourceManager();
    if (GetRenderer() != nullptr && resources.DeviceInUse() == GetRenderer()) resources.OnDestroyDevice();
  }
};

}  // namespace twtest
