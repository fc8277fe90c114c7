// The checks a reader of a scenario or save file makes on each row: a row
// it cannot use is logged as a WARNING with the file, the line number and
// the reason (never passed over in silence), a value that the game cannot
// run with ends the load as a fatal data error naming the file, line,
// column and value, and a value the game can live with is brought into its
// range with a WARNING. Numbers are read whole: a field with anything but
// the number in it (letters, a second sign, "nan", "inf") is not a number,
// and a value beyond the 32-bit range is out of range, never wrapped.
//
// A saved game's files are the game's own writing: there a row that does
// not read whole, a file that lost its rows, a key of a table given twice
// (a unit id, a flag number, a country's row) or a last row without the
// line end its writer puts after every row is damage, and ends the load as
// a fatal data error instead (eRowLoss).
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace files {

// What a row lost (one that does not read whole, the rows of a file cut
// short or emptied, a unit given twice) means for the load.
enum class eRowLoss {
  // A scenario's file, written by hand: the load goes on without what was
  // lost, with a WARNING.
  kWarn,
  // A saved game's file, which the game wrote itself: it is damaged, and the
  // load ends with an ERROR naming the file (and the row) and the words
  // "the saved game is damaged".
  kRefuse,
};

// The loss of rows a loaded folder allows: none in a saved game.
inline eRowLoss RowLossOf(bool savedGame) { return savedGame ? eRowLoss::kRefuse : eRowLoss::kWarn; }

// The whole field (blanks around it allowed) as a decimal integer within
// int; false for anything else.
bool ParseWholeInt(std::wstring_view field, int& out);
// The whole field as a decimal number (sign, digits, point, exponent) that
// is finite as a double; false for anything else, "nan" and "inf" included.
bool ParseWholeNumber(std::wstring_view field, double& out);

class cRowCheck {
 public:
  // path: the file as the messages name it; loss: what a lost row means.
  explicit cRowCheck(std::wstring path, eRowLoss loss = eRowLoss::kWarn) : path_(std::move(path)), loss_(loss) {}

  // The row the next checks concern: its line number (from 1) and fields.
  void Start(std::uint32_t line, const std::vector<std::wstring>& fields) {
    line_ = line;
    fields_ = &fields;
    ++rows_;
  }
  // The rows started so far.
  std::uint32_t Rows() const { return rows_; }
  // The line of the row started last.
  std::uint32_t Line() const { return line_; }
  // The messages of lost rows (WarnEmptyFile, WarnWhenCutInHeader, Fault,
  // Skip, HasFields, WarnExtraFields) are WARNINGs under eRowLoss::kWarn;
  // under kRefuse each is an ERROR of the same words and ends the load
  // (exit 1).
  //
  // After the last row: a file of no rows at all (empty, or only its header
  // and comments) is said with "WARNING: <file>: no <what> ...", in either
  // manner: the game saves a table of none so too.
  void WarnWhenNoRows(std::wstring_view what) const;
  // The same for a file whose writer puts emptyTable into a table of none,
  // where a file without its rows is told apart: one without a byte
  // (WarnEmptyFile) or cut inside its header (WarnWhenCutInHeader) lost its
  // rows; only one holding its header whole is a table of none.
  void WarnWhenNoRows(std::string_view fileText, std::string_view emptyTable, std::wstring_view what) const;
  // For the files that may hold no rows but never no bytes (every writer
  // puts its header first): "WARNING: <file>: no <what>: the file is empty".
  void WarnEmptyFile(std::wstring_view what) const;
  // After the last row: a file of no rows whose text stops before the end of
  // what its writer puts into a table of none (emptyTable; a file cut inside
  // its header, its rows lost with the rest) is said with
  // "WARNING: <file>: no <what>: the file ends inside its header"; true when
  // it is. Line ends of any kind compare as one.
  bool WarnWhenCutInHeader(std::string_view fileText, std::string_view emptyTable, std::wstring_view what) const;
  std::size_t FieldCount() const { return fields_ ? fields_->size() : 0; }
  const std::wstring& Field(std::size_t column) const;

  // "WARNING: <file> line <n>: <text>", in either manner: what loses no row
  // (a value brought into range, a link to what is not there left out).
  void Warn(std::wstring_view text) const;
  // Something of the row lost or given twice (a unit id used twice, values
  // missing from a row): "WARNING: <file> line <n>: <text><warnTail>", the
  // tail saying what the load does without it; a saved game's load ends.
  void Fault(std::wstring_view text, std::wstring_view warnTail = {}) const;
  // A key the table holds once (a flag number, a slot, a country's row, a
  // hex) given again on this row: "<what> is given twice, on lines <first>
  // and <n>" and warnTail, what the load keeps, as a Fault (a saved game's
  // load ends).
  void Repeated(std::wstring_view what, std::uint32_t firstLine, std::wstring_view warnTail) const;
  // For a file whose writer ends every row with a line end (fileText its
  // bytes, lastLine the number of its last line): in a saved game a file
  // whose last line has none was cut inside it, and the load ends ("line
  // <n>: the last line has no line end ..."). A scenario's file, written by
  // hand, may end anywhere: nothing is said.
  void RefuseWhenLastLineOpen(std::string_view fileText, std::uint32_t lastLine) const;
  // Something of the file as a whole lost (no row to name): "WARNING:
  // <file>: <text>"; a saved game's load ends.
  void FileFault(std::wstring_view text) const;
  // A row passed over: "WARNING: <file> line <n>: <reason>; the row is
  // skipped"; a saved game's load ends.
  void Skip(std::wstring_view reason) const;
  // True when the row has at least count fields; otherwise the row is
  // skipped with "<n> fields where <count> are needed".
  bool HasFields(std::size_t count) const;
  // Warns (once per row) when the row has more than count fields: the
  // fields beyond them are ignored (often two rows run together, the
  // second one lost); a saved game's load ends.
  void WarnExtraFields(std::size_t count) const;

  // Fatal data errors: "ERROR: <file> line <n>: <text>", then the process
  // ends (exit 1).
  [[noreturn]] void Refuse(std::wstring_view text) const;
  // "ERROR: <file> line <n> column <c>: <what> "<value>" <problem>".
  [[noreturn]] void RefuseValue(std::size_t column, std::wstring_view what, std::wstring_view problem) const;
  // A key given again where the game cannot run with both rows (a fleet id,
  // a city's hex): "ERROR: <file> line <n>: <what> is given twice, on lines
  // <first> and <n>", in either manner.
  [[noreturn]] void RefuseRepeated(std::wstring_view what, std::uint32_t firstLine) const;

  // The field at column (from 0) as a whole number within [min, max]; a
  // field that is no whole number or lies outside is a fatal data error.
  int Int(std::size_t column, std::wstring_view what, int min = INT_MIN, int max = INT_MAX) const;
  // The same, but a value outside [min, max] is brought to the nearer end
  // with a WARNING ("... out of range (min to max); taken as <value>").
  int IntClamped(std::size_t column, std::wstring_view what, int min, int max) const;
  // A 0/1 flag: any other whole number is taken as 1 (not 0) with a WARNING.
  bool Flag(std::size_t column, std::wstring_view what) const;
  // Decimal numbers in the same two manners.
  double Number(std::size_t column, std::wstring_view what, double min, double max) const;
  double NumberClamped(std::size_t column, std::wstring_view what, double min, double max) const;

 private:
  int WholeOrRefuse(std::size_t column, std::wstring_view what) const;
  double NumberOrRefuse(std::size_t column, std::wstring_view what) const;
  // "WARNING: <text><warnTail>", or for a saved game "ERROR: <text>; the
  // saved game is damaged" and the fatal exit.
  void Lost(const std::wstring& text, std::wstring_view warnTail) const;

  std::wstring path_;
  eRowLoss loss_ = eRowLoss::kWarn;
  std::uint32_t line_ = 0;
  std::uint32_t rows_ = 0;
  const std::vector<std::wstring>* fields_ = nullptr;
};

// The line each key of a table was first given on, for the tables the
// readers index by a number or a name (Key: an int, a hex as a pair, a
// name), so that a key given again names both its lines.
template <typename Key>
class cKeyLines {
 public:
  // 0 when the key is new (line is kept as its line), else the line it was
  // given on first.
  std::uint32_t Earlier(const Key& key, std::uint32_t line) {
    const auto [at, added] = lines_.emplace(key, line);
    return added ? 0 : at->second;
  }

 private:
  std::map<Key, std::uint32_t> lines_;
};

}  // namespace files
