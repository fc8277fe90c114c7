// Reads arbitrary bytes as one event file: the document is validated and its
// events are built as the loading does. A file the game refuses (a fatal
// data error) ends the input quietly through the throwing hook. An accepted
// file must give events whose ids lie in 0..40000 with a mark for each id,
// numbers that are finite or unset, expressions that the checks accept
// again; its dump is written into a scratch folder.
#include <tinyxml.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/event_loader.h"
#include "support/test_support.h"
#include "world/event_manager.h"
#include "world/world.h"

namespace {

std::filesystem::path ScratchFolder() {
  const auto folder = std::filesystem::temp_directory_path() / ("tw_fuzz_event_loader_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool FiniteOrUnset(double value) { return !IsEventParamDefined(value) || std::isfinite(value); }

void CheckCondition(const sEventCondition& node) {
  Check(node.kind == 0 || node.kind == 1);
  for (const sEventExpression& expression : node.expressions) {
    Check(ValidateExpression(expression));
    for (const sEventOperand* operand : {&expression.left, &expression.right}) {
      Check(FiniteOrUnset(operand->constValue));
      for (double param : operand->param) Check(FiniteOrUnset(param));
    }
  }
  for (const sEventCondition& child : node.children) CheckCondition(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = ScratchFolder();
  static cWorld world;
  g_ConsoleLog.SetEnabled(false);  // millions of runs would fill the log
  cEventManager manager;
  auto document = std::make_unique<TiXmlDocument>();
  if (!ParseEventXml(*document, std::string(reinterpret_cast<const char*>(data), size))) return 0;
  manager.documents.push_back({"data/scenarios/Fuzz/fuzz.xml", std::move(document)});

  cScopedThrowingFatalHook hook;
  try {
    ValidateEvents(manager);
    LoadAllEvents(manager);
  } catch (const sFatalExitError& error) {
    Check(error.exitCode == 1);
    return 0;
  }
  int highest = -1;
  for (const sEvent& event : manager.events) {
    Check(event.eventId >= 0 && event.eventId <= kMaxEventId);
    if (event.eventId > highest) highest = event.eventId;
    CheckCondition(event.condition);
    for (const sEventOption& option : event.options) {
      for (const sEventEffect& effect : option.effects) {
        for (double param : effect.param) Check(FiniteOrUnset(param));
      }
    }
  }
  Check(manager.checked.size() == static_cast<std::size_t>(highest + 1));
  if (!manager.events.empty()) {
    twtest::ScopedWorkingFolder inside(folder);
    DumpAllEvents(manager, world);
  }
  return 0;
}
