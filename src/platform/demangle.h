// Readable class names for trace lines.
#pragma once

#include <string>
#include <typeinfo>

namespace plat {

// The demangled name of a type ("cDialogTekstowy"); the raw name when it
// cannot be demangled.
std::string ClassName(const std::type_info& type);

}  // namespace plat
