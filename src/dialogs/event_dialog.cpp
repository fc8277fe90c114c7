#include "dialogs/event_dialog.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "files/save_game.h"
#include "gui/dxut_button.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "rules/event_firing.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/report_store.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// The report type of a player's choice in an event.
constexpr int kEventReportType = 25;


int CountOptions(const sEvent& event) { return static_cast<int>(event.options.size()); }

}  // namespace

bool IsEventPictureName(const std::wstring& name) {
  if (name.empty() || name.front() == L'/' || name.front() == L'\\') return false;
  if (name.find(L':') != std::wstring::npos) return false;
  // Every step between separators must not climb out of the folder.
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find_first_of(L"/\\", start), name.size());
    if (name.compare(start, end - start, L"..") == 0) return false;
    start = end + 1;
  }
  return true;
}

cDialogEventu::cDialogEventu(cWorld& world, const sEvent& event)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      event_(event),
      option_count_(CountOptions(event)) {
  const sLayoutRect frame = Layout(kId);
  const sLayoutRect title = Layout(kTitleId);
  const sLayoutRect flag = Layout(kFlagId);
  const sLayoutRect text = Layout(kTextId);
  const sLayoutRect picture = Layout(kPictureId);
  const sLayoutRect firstRow = Layout(kFirstOptionId);
  const int rowHeight = Layout(kRowId).d;

  // The picture, when the event names one that loads: a square as large as
  // the shorter side of its place, centred in it.
  if (IsEventPictureName(event.image)) {
    const std::wstring file = plat::Format(L"data\\events\\%s", event.image);
    if (picture_.Load(file.c_str(), cTexture::kFromFile, 1) < 0 || picture_.Get() == nullptr) picture_.Release();
  } else if (!event.image.empty()) {
    LogLine(L"Event %i: the picture \"%s\" lies outside the events' folder and is not shown", event.eventId,
            event.image);
  }
  const int side = std::min(picture.c, picture.d);
  const int pictureX = picture.a + (picture.c - side) / 2;
  const int pictureY = picture.b + (picture.d - side) / 2;

  // The dialog is as tall as its lowest part (text, picture or the last
  // button row) with the title's margin below, centred on the frame entry's
  // middle line.
  const int rows = option_count_ + (world.playByEmail ? 1 : 0);
  int content = text.b + text.d;
  if (HasPicture()) content = std::max(content, pictureY + side);
  content = std::max(content, rows * rowHeight + firstRow.b);
  total_height_ = content + title.b;
  offset_y_ = (frame.b + frame.d) / 2 - total_height_ / 2;
  const int dy = offset_y_;

  if (CDXUTControl* frameControl = dialog_.GetControl(kId)) {
    frameControl->SetLocation(frame.a, dy);
    frameControl->SetSize(frame.c, total_height_);
    frameControl->SetDraggable(false);
  }

  CDXUTStatic* titleLabel = nullptr;
  dialog_.AddStatic(kTitleId, event.title.c_str(), title.a, title.b + dy, title.c, title.d, false, &titleLabel);
  if (titleLabel != nullptr) {
    titleLabel->m_TextElement = 1;
    titleLabel->SetTextFormat(kFormatCentred);
  }
  dialog_.AddMemo(kTextId, event.description.c_str(), text.a, text.b + dy, text.c, text.d);
  if (HasPicture()) {
    dialog_.AddImage(kPictureId, picture_.Get(), 0, 0, kPictureSource, kPictureSource, pictureX, pictureY + dy, side,
                     side);
  }
  if (const cCountry* country = world.GetCountry(event.countryId)) {
    dialog_.AddImage(kFlagId, country->GetFlagTexture(), 0, 0, kFlagWidth, kFlagHeight, flag.a, flag.b + dy, flag.c,
                     flag.d);
  }

  auto addRow = [&](int row, int id, const std::wstring& caption, const std::wstring& hint) {
    CDXUTButton* button = nullptr;
    dialog_.AddButton(id, caption.c_str(), firstRow.a, firstRow.b + row * rowHeight + dy, firstRow.c, firstRow.d, 0,
                      false, &button);
    if (button != nullptr) button->SetHint(hint.c_str());
  };
  for (int n = 1; n <= option_count_; ++n) {
    std::wstring caption, hint;
    event.GetOptionTexts(n, caption, hint);
    addRow(n - 1, kOptionBaseId + n, caption, hint);
  }
  if (world.playByEmail) {
    save_and_exit_id_ = kOptionBaseId + option_count_ + 1;
    addRow(option_count_, save_and_exit_id_, Text("event_save_and_exit"), Text("event_save_and_exit_hint"));
  }
}

void cDialogEventu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED || controlId <= kOptionBaseId) return;
  const int number = controlId - kOptionBaseId;
  if (save_and_exit_id_ != 0 && controlId == save_and_exit_id_) {
    SaveAndExit();
  } else if (number <= option_count_) {
    ChooseOption(number);
  }
}

void cDialogEventu::ChooseOption(int number) {
  std::wstring caption, hint;
  event_.GetOptionTexts(number, caption, hint);
  const cCountry* country = world_.GetCountry(event_.countryId);
  FileReport(world_, kEventReportType, event_.countryId,
             plat::Format(L"Event for country %s: %s\n\n%s\n\nChosen option: %s (%s)",
                          country != nullptr ? country->name : std::wstring(), event_.title, event_.description, caption,
                          hint));
  ApplyOption(world_, event_, number);
  PopDialogs(1);
}

void cDialogEventu::SaveAndExit() {
  const std::wstring gameName = CleanSaveName(world_.playByEmailGameName);
  const sSaveResult saved = SaveGame(world_, gameName, true);
  if (!saved.ok) {
    // Ending the program now would lose the turn: the player is told and
    // may choose an option instead.
    LogLine(L"Play-by-e-mail save failed: %s", saved.error);
    if (cWorldView* view = world_.View()) {
      view->ShowMessage(plat::Format(Text("event_save_failed_%s"), saved.error), Text("event_save_and_exit"));
    }
    return;
  }
  world_.eventSaveAndExitRequested = true;
  PopDialogs(1);
}
