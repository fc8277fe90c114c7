// The program entry: brings the application services up in their fixed
// order and tears them down again.
//
// The window, the sound effects, the intro and the framework's main loop
// belong between the random seed and the language base; they come with the
// platform's window layer. Until then the program starts its services and
// ends.
#include <ctime>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "app/version.h"
#include "platform/rand.h"

int main() {
  CreateFrameworkLock();
  g_bRunning = true;
  LogLine(L"Running Tidewrack v%.2f", kGameVersion);

  plat::Srand(static_cast<unsigned>(std::time(nullptr)));

  g_StringBase.Load("lang_LANGID.db", true);

  g_bRunning = false;
  DeleteFrameworkLock();
  return 0;
}
