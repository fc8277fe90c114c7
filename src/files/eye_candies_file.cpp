#include "files/eye_candies_file.h"

#include <string>
#include <utility>

#include "app/console_log.h"
#include "app/data_rows.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

// Sprite cells of the eye-candy sheet are 167 pixels apart, 1 pixel in.
constexpr int kCellStep = 167;

}  // namespace

void LoadEyeCandies(std::vector<sEyeCandy>& records, int width, int height, std::wstring_view folder) {
  const std::wstring path = std::wstring(folder) + L"/eyecandies.csv";
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) {
    LogLine(L"ERROR unable to load eyecandies data from %s/eyecandies.csv", folder);
    return;
  }
  const bool sized = width > 0 && height > 0 &&
                     records.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  // A map skin's file, written by hand: a hex given twice is warned about.
  files::cRowCheck row(std::wstring(folder) + L"/eyecandies.csv");
  files::cKeyLines<std::pair<int, int>> hexLines;
  plat::LineReader lines(bytes);
  std::string_view raw;
  while (lines.Next(raw)) {
    const std::wstring line = files::Trim(plat::WidenAnsi(raw));
    if (line.empty() || line[0] == L'#') continue;
    const std::vector<std::wstring> fields = files::Split(line, true);
    const int lineNo = static_cast<int>(lines.LineNumber());
    if (fields.size() < 5) {
      LogLine(L"WARNING incorrect entry in %s/eyecandies.csv:\n%s", folder, line);
      LogLine(L"WARNING: %s/eyecandies.csv line %i: %i fields where 9 are needed; the row is skipped", folder, lineNo,
              static_cast<int>(fields.size()));
      continue;
    }
    int v[9] = {};
    bool ok = fields.size() >= 9;
    for (int i = 0; ok && i < 9; ++i) ok = files::StrictInt(fields[static_cast<std::size_t>(i)], v[i]);
    if (!ok) {
      LogLine(L"ERROR incorrect entry data format in %s/eyecandies.csv: %s", folder, line);
      LogLine(L"WARNING: %s/eyecandies.csv line %i: nine whole numbers are needed; the row is skipped", folder, lineNo);
      continue;
    }
    const int x = v[0], y = v[1];
    if (!sized || x < 0 || y < 0 || x >= width || y >= height) {
      LogLine(L"ERROR eye candy outside the map in %s/eyecandies.csv: %s", folder, line);
      LogLine(L"WARNING: %s/eyecandies.csv line %i: hex (%i, %i) is outside the map; the row is skipped", folder, lineNo,
              x, y);
      continue;
    }
    if (const std::uint32_t first = hexLines.Earlier({x, y}, static_cast<std::uint32_t>(lineNo))) {
      row.Start(static_cast<std::uint32_t>(lineNo), fields);
      row.Repeated(plat::Format(L"hex (%i, %i)", x, y), first, L"; the later row is kept");
    }
    sEyeCandy& record = records[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x];
    record.scale = static_cast<float>((39.0 - v[2]) / 100.0 + 0.6);
    for (int i = 0; i < 6; ++i) {
      // Cell numbers beyond the sheet wrap like the unsigned words that hold them.
      record.words[i] = static_cast<std::uint32_t>(v[3 + i]) * kCellStep + 1u;
    }
  }
}

void LoadMapEyeCandies(cMap& map, bool skinHasPicture, std::wstring_view folder) {
  map.ResetEyeCandies();
  if (!skinHasPicture) return;
  std::vector<sEyeCandy>& records = map.EyeCandies();
  LoadEyeCandies(records, map.GetWidth(), map.GetHeight(), folder);
}
