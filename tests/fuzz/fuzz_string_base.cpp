// Feeds arbitrary bytes to the language base loader (as a file, the way the
// game reads it), and the same bytes to the text-source parser: a source it
// accepts must come back text for text through the binary base.
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/lang_source.h"
#include "app/string_base.h"
#include "platform/lines.h"

namespace {

// One scratch file per fuzzing process, removed when the process ends.
struct ScratchFile {
  ScratchFile() : path("/tmp/fuzz_string_base_" + std::to_string(::getpid()) + ".db") {}
  ~ScratchFile() { std::remove(path.c_str()); }
  std::string path;
};

const std::string& TempFile() {
  static const ScratchFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_ConsoleLog.SetEnabled(false);
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  if (!plat::WriteFileBytes(TempFile(), bytes)) std::abort();
  {
    cStringBase base;
    base.GetText("please_wait");
    base.Load(TempFile(), true);
    base.Load(TempFile(), false);
    base.GetText("");
    base.GetText(bytes.substr(0, 8));
  }

  std::vector<sLangText> texts;
  sLangSourceError error;
  if (ParseLangSource(bytes, texts, error)) {
    std::string db;
    if (!BuildLangBase(texts, db) || !plat::WriteFileBytes(TempFile(), db)) std::abort();
    cStringBase base;
    base.Load(TempFile(), true);
    if (base.Count() != texts.size()) std::abort();
    for (const auto& t : texts) {
      if (t.text != base.GetText(t.key)) std::abort();
    }
  }
  return 0;
}
