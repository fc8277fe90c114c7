#include "app/version.h"

#include "platform/format.h"

std::wstring VersionTitle(float version, int build) {
  if (build % 100 == 0) return plat::Format(L"Tidewrack v%.2f", version);
  return plat::Format(L"Tidewrack v%.2f [build %3i]", version, build);
}
