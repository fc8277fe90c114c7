#include "dialogs/purchases_dialog.h"

#include <algorithm>
#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/skins.h"
#include "app/sound.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/control_groups.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "map_drawing/air_unit_draw.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "map_drawing/naval_unit_draw.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/purchases.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

constexpr unsigned kLevelGroup = 1;
constexpr int kLevels = 5;
// The backdrop of the preview: a fixed square of the interface sheet.
constexpr int kPreviewLeft = 1500, kPreviewTop = 700, kPreviewSide = 180;
// The unit is drawn this far inside the backdrop's edges.
constexpr int kPreviewInset = 15;
// The numeric pad's 1 (5 follows at 0x65).
constexpr unsigned kVkNumpad1 = 0x61;

// Each list row carries its item code.
const int kItemCodes[kPurchaseItemCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// The rectangle to draw a counter of the category in so that its frame (box
// 0 of the closest appearance, left, top, width and height in counter units)
// fills the square stand and sits in its middle. The counter is drawn at
// the rectangle's width over the counter's full width.
plat::RectI FitCounter(const plat::RectI& stand, int category) {
  const sUnitAppearanceTable& table = category == kCategoryAir     ? g_AirAppearance
                                      : category == kCategoryNaval ? g_NavalAppearance
                                                                   : g_LandAppearance;
  const sUnitAppearance& look = table.entries[0];
  const plat::RectI& frame = look.box[0];
  const int side = std::min(stand.Width(), stand.Height());
  if (!look.valid[0] || frame.right <= 0 || frame.bottom <= 0 || side <= 0) return stand;
  const float scale = static_cast<float>(side) / static_cast<float>(std::max(frame.right, frame.bottom));
  const float left = static_cast<float>(stand.left) + (static_cast<float>(side) - frame.right * scale) / 2.0f -
                     static_cast<float>(frame.left) * scale;
  const float top = static_cast<float>(stand.top) + (static_cast<float>(side) - frame.bottom * scale) / 2.0f -
                    static_cast<float>(frame.top) * scale;
  const int width = static_cast<int>(land_counter_layout::kCounterWidth * scale + 0.5f);
  const int x = static_cast<int>(left + 0.5f), y = static_cast<int>(top + 0.5f);
  return {x, y, x + width, y + width};
}

std::wstring Points(double value) { return plat::Format(std::wstring(Text("%.2f_pp")), value); }

}  // namespace

cDialogZakupow::cDialogZakupow(cWorld& world)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      country_id_(world.turnState.CurrentCountryId()) {
  // The backdrop fills the largest square of its entry, centred across it.
  sLayoutRect square = Layout(kPreviewId);
  FitSquareInRect(square, 1, 0);
  dialog_.AddImage(kPreviewId, dialog_.GetTexture(0), kPreviewLeft, kPreviewTop, kPreviewLeft + kPreviewSide,
                   kPreviewTop + kPreviewSide, square.a, square.b, square.c, square.d);
  CDXUTStatic* title = nullptr;
  if (SUCCEEDED(dialog_.AddStaticFromLayout(kTitleId, Text("purchase_title"), &title)) && title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  dialog_.AddTabFrameFromLayout(kTabsId, &tabs_);
  if (tabs_ != nullptr) {
    const char* captions[kTabCount] = {"purchase_tab_land_units", "purchase_tab_air_units", "purchase_tab_sea_units",
                                       "purchase_tab_others"};
    for (int tab = 0; tab < kTabCount; ++tab) tabs_->AddTab(Text(captions[tab]), static_cast<unsigned>(tab), 0, -1);
    tabs_->SelectTab(kTabLand, false);
  }
  dialog_.AddStaticFromLayout(kListLabelId, Text("purchase_items"));
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  for (int j = 0; j < kLevels; ++j) {
    const std::string key = "purchase_level" + std::to_string(j + 1);
    dialog_.AddRadioButtonFromLayout(kFirstLevelId + j, kLevelGroup, Text(key.c_str()),
                                     Text((key + "_hint").c_str()), j == 0, &levels_[j]);
  }
  AddValue(dialog_, kCostLabelId, "purchase_cost", kCostId, "purchase_cost_hint");
  AddValue(dialog_, kAvailableLabelId, "purchase_available", kAvailableId, "purchase_available_hint");
  dialog_.AddButtonFromLayout(kBuyId, Text("purchase_buy"), Text("purchase_buy_hint"), 0, &buy_);
  dialog_.AddButtonFromLayout(kExitId, Text("purchase_exit"), Text("purchase_exit_hint"));
  level_ = 1;
  OnGUIEvent(EVENT_TABFRAME_CHANGED, kTabsId, tabs_);
  OnGUIEvent(EVENT_LISTBOX_SELECTION, kListId, list_);
}

cDialogZakupow::~cDialogZakupow() = default;

int cDialogZakupow::FirstItemOfTab(int tab) {
  switch (tab) {
    case kTabAir: return kPurchaseFirstAir;
    case kTabSea: return kPurchaseFirstShip;
    case kTabOthers: return kPurchaseStrategicMovement;
    default: return kPurchaseFirstLand;
  }
}

int cDialogZakupow::ItemsOfTab(int tab) {
  switch (tab) {
    case kTabAir: return kPurchaseLastAir - kPurchaseFirstAir + 1;
    case kTabSea: return kPurchaseLastShip - kPurchaseFirstShip + 1;
    case kTabOthers: return kPurchaseItemCount - kPurchaseStrategicMovement;
    default: return kPurchaseLastLand - kPurchaseFirstLand + 1;
  }
}

int cDialogZakupow::SelectedTab() const {
  const int tab = tabs_ != nullptr ? tabs_->GetSelectedTab() : kTabLand;
  return std::clamp(tab, 0, kTabCount - 1);
}

std::wstring cDialogZakupow::RowText(int item) const {
  const cCountry* country = world_.GetCountry(country_id_);
  if (country == nullptr) return std::wstring();
  const int type = PurchaseItemUnitType(item);
  const int time = PurchaseBuildTime(world_.constants, item);
  if (type < 0) {
    const char* key = item == kPurchaseStrategicMovement ? "strat_mov_pts"
                      : item == kPurchaseSeaTransport    ? "sea_trans_pts"
                                                         : "amph_pts";
    return plat::Format(std::wstring(L"%s;%.2f"), std::wstring(Text(key)),
                        static_cast<double>(PurchasePrice(world_, *country, item, 1)));
  }
  const std::wstring name = cUnit::GetSubtypeText(&world_, type);
  const int limit = PurchaseLevelLimit(*country, item);
  if (limit == -1) {
    return plat::Format(std::wstring(L"%s;%i;%.2f"), name, time,
                        static_cast<double>(PurchasePrice(world_, *country, item, 1)));
  }
  // A level the technology does not reach yet shows "-".
  std::wstring row = plat::Format(std::wstring(L"%s;%i"), name, time);
  for (int level = 1; level <= kLevels; ++level) {
    row += L';';
    row += level <= limit
               ? plat::Format(std::wstring(L"%.2f"), static_cast<double>(PurchasePrice(world_, *country, item, level)))
               : std::wstring(L"-");
  }
  return row;
}

void cDialogZakupow::FillList() {
  if (list_ == nullptr) return;
  const int tab = SelectedTab();
  const int previous = list_->GetSelectedIndex();
  list_->RemoveAllItems();
  switch (tab) {
    case kTabLand: list_->SetColumns(7, Text("purchase_list_land_columns"), 40, 10, 10, 10, 10, 10, 10); break;
    case kTabAir: list_->SetColumns(7, Text("purchase_list_air_columns"), 40, 10, 10, 10, 10, 10, 10); break;
    case kTabSea: list_->SetColumns(3, Text("purchase_list_naval_columns"), 40, 10, 10); break;
    default: list_->SetColumns(2, Text("purchase_list_others_columns"), 40, 10); break;
  }
  const int first = FirstItemOfTab(tab);
  for (int i = 0; i < ItemsOfTab(tab); ++i) {
    const int item = first + i;
    list_->AddItem(RowText(item).c_str(), const_cast<int*>(&kItemCodes[item]));
  }
  if (previous >= 0 && previous < list_->GetSize()) list_->SelectItem(previous, false);
}

void cDialogZakupow::SelectRow(int row) {
  if (list_ == nullptr || list_->GetSize() == 0) {
    item_ = -1;
    return;
  }
  list_->SelectItem(std::clamp(row, 0, list_->GetSize() - 1), false);
  const auto* code = static_cast<const int*>(list_->GetSelectedData());
  item_ = code != nullptr ? *code : -1;
}

void cDialogZakupow::SetLevelButtons(int highestLevel) {
  const int entryLevel = level_;
  for (int j = 0; j < kLevels; ++j) {
    CDXUTRadioButton* button = levels_[j];
    if (button == nullptr) continue;
    button->SetVisible(highestLevel != -1);
    button->SetEnabled(j < highestLevel);
    if (j < entryLevel && j < highestLevel) {
      button->SetCheckedInternal(true, true, false, false);
      level_ = j + 1;
    }
  }
}

void cDialogZakupow::RefreshSelection() {
  const cCountry* country = world_.GetCountry(country_id_);
  const int tab = SelectedTab();
  SetLevelButtons(country != nullptr && (tab == kTabLand || tab == kTabAir) ? PurchaseLevelLimit(*country, item_)
                                                                            : -1);
  preview_.reset();
  price_ = 0.0f;
  if (country != nullptr && item_ >= 0) {
    preview_ = MakePurchasedUnit(world_, *country, item_, level_);
    price_ = PurchasePrice(world_, *country, item_, level_);
  }
  SetValue(dialog_, kCostId, Points(price_));
  SetValue(dialog_, kAvailableId, Points(country != nullptr ? country->productionPoints : 0.0));
  if (buy_ != nullptr) {
    const ePurchaseRefusal refusal = CheckPurchase(world_, {country_id_, item_, level_, std::wstring()});
    buy_->SetEnabled(refusal == ePurchaseRefusal::kNone);
    const char* reason = PurchaseRefusalKey(refusal);
    buy_->SetHint(Text(reason != nullptr ? reason : "purchase_buy_hint"));
  }
}

void cDialogZakupow::Buy() {
  if (item_ < 0) return;
  sPurchaseOrder order{country_id_, item_, level_, preview_ != nullptr ? preview_->name : std::wstring()};
  const ePurchaseRefusal refusal = Purchase(world_, order);
  if (const char* key = PurchaseRefusalKey(refusal)) {
    LogLine(L"%s", Text(key));
    return;
  }
  LogLine(L"Player action: Purchase / item %i level %i for %.2f PP", item_, level_, static_cast<double>(price_));
  PlaySoundEffect(SND_BUYING);
  // The prices of points rise with every purchase: the rows are read again.
  FillList();
}

void cDialogZakupow::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  switch (controlId) {
    case kTabsId:
      if (list_ != nullptr) list_->RemoveAllItems();
      FillList();
      SelectRow(0);
      RefreshSelection();
      return;
    case kListId:
      if (list_ != nullptr) SelectRow(list_->GetSelectedIndex() < 0 ? 0 : list_->GetSelectedIndex());
      RefreshSelection();
      return;
    case kBuyId:
      if (event != EVENT_BUTTON_CLICKED) return;
      Buy();
      RefreshSelection();
      return;
    case kExitId:
      if (event == EVENT_BUTTON_CLICKED) PopDialogs(1);
      return;
    default:
      break;
  }
  if (controlId >= kFirstLevelId && controlId < kFirstLevelId + kLevels) {
    // Clearing the group reports the buttons it unchecks: only the checked
    // one chooses the level.
    const auto* radio = dynamic_cast<CDXUTRadioButton*>(control);
    if (radio != nullptr && !radio->GetChecked()) return;
    level_ = controlId - (kFirstLevelId - 1);
    RefreshSelection();
  }
}

void cDialogZakupow::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn) {
    if (dialog_.GetControlEnabled(kBuyId)) ClickButton(kBuyId);
    return;
  }
  if (key == plat::kVkEscape) {
    ClickButton(kExitId);
    return;
  }
  if ((key == plat::kVkLeft || key == plat::kVkRight) && tabs_ != nullptr) {
    const int tab = std::clamp(SelectedTab() + (key == plat::kVkLeft ? -1 : 1), 0, kTabCount - 1);
    if (tab != SelectedTab()) {
      tabs_->SelectTab(tab, false);
      OnGUIEvent(EVENT_TABFRAME_CHANGED, kTabsId, tabs_);
    }
    return;
  }
  if ((key == plat::kVkUp || key == plat::kVkDown) && list_ != nullptr) {
    SelectRow(list_->GetSelectedIndex() + (key == plat::kVkUp ? -1 : 1));
    RefreshSelection();
    return;
  }
  int level = 0;
  if (key >= '1' && key <= '5') level = static_cast<int>(key - '0');
  if (key >= kVkNumpad1 && key < kVkNumpad1 + kLevels) level = static_cast<int>(key - kVkNumpad1) + 1;
  if (level == 0) return;
  CDXUTRadioButton* button = levels_[level - 1];
  if (button == nullptr || !button->GetEnabled() || !button->GetVisible()) return;
  button->SetCheckedInternal(true, true, false, false);
  OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, kFirstLevelId + level - 1, button);
}

void cDialogZakupow::OnRender(float elapsed) {
  cDialog::OnRender(elapsed);
  if (preview_ == nullptr || !dialog_.GetVisible()) return;
  const CDXUTControl* image = dialog_.GetControl(kPreviewId);
  if (image == nullptr) return;
  // The dialog has no caption bar: its controls sit at its own offset.
  const plat::RectI& box = image->GetBoundingBox();
  const plat::RectI stand{box.left + dialog_.GetX() + kPreviewInset, box.top + dialog_.GetY() + kPreviewInset,
                          box.right + dialog_.GetX() - kPreviewInset, box.bottom + dialog_.GetY() - kPreviewInset};
  const plat::RectI rect = FitCounter(stand, preview_->category);
  if (auto* ship = dynamic_cast<cJednostkaMorska*>(preview_.get())) {
    DrawNavalCounterInRect(*ship, rect);
  } else if (auto* air = dynamic_cast<cJednostkaLotnicza*>(preview_.get())) {
    DrawAirCounterInRect(*air, rect);
  } else if (auto* land = dynamic_cast<cJednostkaLadowa*>(preview_.get())) {
    DrawLandCounterInRect(*land, rect);
  }
}
