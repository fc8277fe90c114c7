// The convoys of the current country: the list in the order they sail (the
// order is their priority), a new convoy picked port by port on the map,
// and the selected convoy deleted, moved up or down, or given its cargo and
// value. The dialog edits the world's convoy records in place; it keeps no
// pointer into the list, only the selected row.
#pragma once

#include <vector>

#include "dialogs/dialog.h"
#include "world/map_modes.h"

class cConvoy;
class cWorld;
class CDXUTButton;
class CDXUTListBox;
class CDXUTRadioButton;
class CDXUTSlider;
class CDXUTStatic;

class cDialogKonwojow : public cDialog {
 public:
  static constexpr int kId = 940;
  static constexpr int kPictureId = 941;
  static constexpr int kTitleId = 942;
  static constexpr int kListLabelId = 943;
  static constexpr int kListId = 944;
  static constexpr int kNewId = 945;
  static constexpr int kUpId = 946;
  static constexpr int kDownId = 947;
  static constexpr int kDeleteId = 950;
  static constexpr int kTypeLabelId = 951;
  static constexpr int kTypeProductionId = 952;
  static constexpr int kTypeSuppliesId = 953;
  static constexpr int kValueTextId = 954;
  static constexpr int kSliderId = 955;
  static constexpr int kExitId = 956;

  // The convoys of the country, none selected.
  cDialogKonwojow(cWorld& world, int countryId);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  // Refills the list in the convoys' order; with an id other than -1 that
  // convoy's row is selected (the first row when the id is not found).
  void FillConvoyList(int convoyId);
  // Enables, checks and hints the controls by the selection.
  void RefreshControls();
  // The map screen's picks of a new convoy's ports (sea node ids, 0 none).
  void SetDepartureNode(int nodeId) { departure_node_ = nodeId; }
  void SetDestinationNode(int nodeId) { destination_node_ = nodeId; }
  int DepartureNode() const { return departure_node_; }
  // With both ports picked: the new convoy of the country between them,
  // selected in the refilled list. Returns its id, -1 when none was made.
  int AddPickedConvoy();

  int CountryId() const { return country_id_; }
  // The selected row (-1 none).
  int SelectedIndex() const { return selected_; }
  CDXUTListBox* List() const { return list_; }

 private:
  // The country's convoy list (null for an unknown country).
  std::vector<cConvoy>* Convoys() const;
  cConvoy* SelectedConvoy() const;
  // The top of the value slider for a convoy of that type.
  int ValueLimit(const cConvoy& convoy, int type) const;
  void Select(int index);
  void MoveSelected(int step);
  void SetSelectedType(int type);

  cWorld& world_;
  int country_id_;
  int selected_ = -1;
  int departure_node_ = 0;
  int destination_node_ = 0;
  CDXUTListBox* list_ = nullptr;
  CDXUTButton* delete_ = nullptr;
  CDXUTButton* up_ = nullptr;
  CDXUTButton* down_ = nullptr;
  CDXUTRadioButton* production_ = nullptr;
  CDXUTRadioButton* supplies_ = nullptr;
  CDXUTSlider* slider_ = nullptr;
  CDXUTStatic* value_text_ = nullptr;
};
