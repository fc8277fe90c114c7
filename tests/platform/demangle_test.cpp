#include "platform/demangle.h"

#include <gtest/gtest.h>

#include <memory>

namespace twtest_demangle {
struct cDialogBase {
  virtual ~cDialogBase() = default;
};
struct cDialogTekstowy : cDialogBase {};
}  // namespace twtest_demangle

TEST(Demangle, ClassNamesAreReadable) {
  using namespace twtest_demangle;
  EXPECT_EQ(plat::ClassName(typeid(int)), "int");
  EXPECT_EQ(plat::ClassName(typeid(cDialogTekstowy)), "twtest_demangle::cDialogTekstowy");
  const std::unique_ptr<cDialogBase> dialog = std::make_unique<cDialogTekstowy>();
  EXPECT_EQ(plat::ClassName(typeid(*dialog)), "twtest_demangle::cDialogTekstowy");
}
