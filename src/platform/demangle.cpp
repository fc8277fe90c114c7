// Readable class names from the C++ runtime's mangled type names.
#include "platform/demangle.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace plat {

std::string ClassName(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                   &std::free);
  if (status != 0 || !name) return type.name();
  return name.get();
}

}  // namespace plat
