#include "files/matrices_file.h"

#include <string>

#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/world.h"

namespace {

// A pair of ids the matrix was not sized for reads as peace and no losses
// rather than ending the process in the middle of a save.
bool InMatrix(const cRelationsMatrix& matrix, int a, int b) {
  return a >= 1 && b >= 1 && a <= matrix.GetCount() && b <= matrix.GetCount();
}

}  // namespace

void WriteSeaNodes(const cWorld& world, std::wstring_view folder) {
  std::wstring text =
      L"#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X (city hex X for ports);"
      L"Hex Y (city hex Y for ports);Player unit hex X;Player unit hex Y;Enemy unit hex X;Enemy unit hex Y";
  for (const sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) {
    text += plat::Format(L"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;", node.id, files::CleanFieldText(node.name), node.maxSize,
                         node.size, node.x, node.y, node.ownShipX, node.ownShipY, node.enemyShipX,
                         node.enemyShipY);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"sea_nodes.csv"), plat::NarrowAnsi(text));
}

void WriteRelations(const cWorld& world, std::wstring_view folder) {
  const cRelationsMatrix& matrix = world.GetRelations();
  std::wstring text =
      L"#Relations matrix [0=peace, 1=war]\n#Country ID;Country Name;Relations with all countries [0=peace, 1=war]";
  for (const auto& a : world.Countries()) {
    text += plat::Format(L"\n%i;%s", a->id, files::CleanFieldText(a->name));
    for (const auto& b : world.Countries()) {
      const bool war = InMatrix(matrix, a->id, b->id) && matrix.IsAtWar(a->id, b->id);
      text += war ? L";1" : L";0";
    }
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"relations.csv"), plat::NarrowAnsi(text));
}

void WriteLosses(const cWorld& world, std::wstring_view folder) {
  const cRelationsMatrix& matrix = world.GetRelations();
  std::wstring text = L"#Losses matrix:\n#Country ID;Country Name;Casualties dealt against all countries";
  for (const auto& a : world.Countries()) {
    text += plat::Format(L"\n%i;%s;", a->id, files::CleanFieldText(a->name));
    for (const auto& b : world.Countries()) {
      const double losses = InMatrix(matrix, a->id, b->id) ? matrix.GetLosses(a->id, b->id) : 0.0;
      text += plat::Format(L"%f;", losses);
    }
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"losses.csv"), plat::NarrowAnsi(text));
}
