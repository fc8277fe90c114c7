#include "frame/startup.h"

#include <cstdio>
#include <cstdlib>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"

void ExitUnicodeLayerMissing() {
  g_ConsoleLog.WriteLine(g_StringBase.GetText("unicows.dll_not_found,_cannot_start_application"));
  if (std::FILE* file = std::fopen("error.txt", "wt")) {
    std::fputs("unicows.dll not found! cannot load game", file);
    std::fclose(file);
  }
  // No clean-up: the process ends here, as the Windows program did.
  std::_Exit(0);
}
