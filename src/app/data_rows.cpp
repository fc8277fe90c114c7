#include "app/data_rows.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/char_classes.h"
#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"

namespace files {

namespace {


// A sign and digits alone (blanks around allowed): a whole number, perhaps
// beyond 32 bits.
bool IsDigitRun(std::wstring_view field) {
  const std::wstring text = Trim(field);
  std::size_t i = !text.empty() && (text[0] == L'+' || text[0] == L'-') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  return true;
}

// Shortest text of a double for messages ("100", "0.5", "1e+30").
std::wstring NumberText(double value) { return plat::Format(L"%g", value); }

// "<what> is given twice, on lines <first> and <line>".
std::wstring RepeatText(std::wstring_view what, std::uint32_t firstLine, std::uint32_t line) {
  return plat::Format(L"%s is given twice, on lines %u and %u", std::wstring(what), firstLine, line);
}

}  // namespace

bool ParseWholeInt(std::wstring_view field, int& out) {
  // Blanks around the number are cut by position: a row's fields cost no
  // allocation here.
  std::size_t begin = 0, end = field.size();
  while (begin < end && IsBlank(field[begin])) ++begin;
  while (end > begin && IsBlank(field[end - 1])) --end;
  std::size_t i = begin;
  const bool negative = i < end && field[i] == L'-';
  if (i < end && (field[i] == L'+' || field[i] == L'-')) ++i;
  if (i == end) return false;
  long long value = 0;
  for (; i < end; ++i) {
    if (!IsDigit(field[i])) return false;
    value = value * 10 + (field[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseWholeNumber(std::wstring_view field, double& out) {
  const std::wstring text = Trim(field);
  std::size_t i = 0;
  std::string number;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    number += static_cast<char>(text[i++]);
    digits = true;
  }
  if (i < text.size() && text[i] == L'.') {
    number += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      number += static_cast<char>(text[i++]);
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    number += 'e';
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) number += static_cast<char>(text[i++]);
    bool expDigits = false;
    while (i < text.size() && IsDigit(text[i])) {
      // A long exponent only makes the value 0 or infinite.
      if (number.size() < 400) number += static_cast<char>(text[i]);
      ++i;
      expDigits = true;
    }
    if (!expDigits) return false;
  }
  if (i != text.size()) return false;
  const double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value)) return false;
  out = value;
  return true;
}

const std::wstring& cRowCheck::Field(std::size_t column) const {
  static const std::wstring kNone;
  return fields_ && column < fields_->size() ? (*fields_)[column] : kNone;
}

void cRowCheck::Warn(std::wstring_view text) const {
  LogLine(L"WARNING: %s line %u: %s", path_, line_, std::wstring(text));
}

void cRowCheck::Lost(const std::wstring& text, std::wstring_view warnTail) const {
  if (loss_ == eRowLoss::kWarn) {
    LogLine(L"WARNING: %s%s", text, std::wstring(warnTail));
    return;
  }
  LogLine(L"ERROR: %s; the saved game is damaged", text);
  FatalExit(1);
}

void cRowCheck::Fault(std::wstring_view text, std::wstring_view warnTail) const {
  Lost(plat::Format(L"%s line %u: %s", path_, line_, std::wstring(text)), warnTail);
}

void cRowCheck::Repeated(std::wstring_view what, std::uint32_t firstLine, std::wstring_view warnTail) const {
  Fault(RepeatText(what, firstLine, line_), warnTail);
}

void cRowCheck::RefuseRepeated(std::wstring_view what, std::uint32_t firstLine) const {
  Refuse(RepeatText(what, firstLine, line_));
}

void cRowCheck::RefuseWhenLastLineOpen(std::string_view fileText, std::uint32_t lastLine) const {
  if (loss_ != eRowLoss::kRefuse || fileText.empty() || fileText.back() == '\n' || fileText.back() == '\r') return;
  Lost(plat::Format(L"%s line %u: the last line has no line end, where the writer ends every row with one: the file "
                    L"was cut inside it",
                    path_, lastLine),
       {});
}

void cRowCheck::FileFault(std::wstring_view text) const {
  Lost(plat::Format(L"%s: %s", path_, std::wstring(text)), {});
}

void cRowCheck::Skip(std::wstring_view reason) const { Fault(reason, L"; the row is skipped"); }

bool cRowCheck::HasFields(std::size_t count) const {
  if (FieldCount() >= count) return true;
  Skip(plat::Format(L"%u fields where %u are needed", static_cast<unsigned>(FieldCount()),
                    static_cast<unsigned>(count)));
  return false;
}

void cRowCheck::WarnExtraFields(std::size_t count) const {
  if (FieldCount() <= count) return;
  Fault(plat::Format(L"%u fields where %u are read", static_cast<unsigned>(FieldCount()),
                     static_cast<unsigned>(count)),
        plat::Format(L"; the fields from column %u on are ignored", static_cast<unsigned>(count + 1)));
}

void cRowCheck::Refuse(std::wstring_view text) const {
  LogLine(L"ERROR: %s line %u: %s", path_, line_, std::wstring(text));
  FatalExit(1);
}

void cRowCheck::WarnWhenNoRows(std::wstring_view what) const {
  if (rows_ > 0) return;
  LogLine(L"WARNING: %s: no %s: the file is empty or holds only its header and comments", path_, std::wstring(what));
}

void cRowCheck::WarnWhenNoRows(std::string_view fileText, std::string_view emptyTable, std::wstring_view what) const {
  if (rows_ > 0) return;
  if (fileText.empty()) {
    WarnEmptyFile(what);
  } else if (!WarnWhenCutInHeader(fileText, emptyTable, what)) {
    WarnWhenNoRows(what);
  }
}

void cRowCheck::WarnEmptyFile(std::wstring_view what) const {
  Lost(plat::Format(L"%s: no %s: the file is empty", path_, std::wstring(what)), {});
}

bool cRowCheck::WarnWhenCutInHeader(std::string_view fileText, std::string_view emptyTable,
                                    std::wstring_view what) const {
  if (rows_ > 0 || fileText.empty()) return false;
  std::string text;
  text.reserve(fileText.size());
  for (std::size_t i = 0; i < fileText.size(); ++i) {
    if (fileText[i] != '\r') {
      text += fileText[i];
    } else {
      text += '\n';
      if (i + 1 < fileText.size() && fileText[i + 1] == '\n') ++i;
    }
  }
  if (text.size() >= emptyTable.size() || emptyTable.substr(0, text.size()) != text) return false;
  Lost(plat::Format(L"%s: no %s: the file ends inside its header", path_, std::wstring(what)), {});
  return true;
}

void cRowCheck::RefuseValue(std::size_t column, std::wstring_view what, std::wstring_view problem) const {
  LogLine(L"ERROR: %s line %u column %u: %s \"%s\" %s", path_, line_, static_cast<unsigned>(column + 1),
          std::wstring(what), Field(column), std::wstring(problem));
  FatalExit(1);
}

int cRowCheck::WholeOrRefuse(std::size_t column, std::wstring_view what) const {
  int value = 0;
  if (column >= FieldCount()) RefuseValue(column, what, L"is missing");
  if (!ParseWholeInt(Field(column), value)) {
    RefuseValue(column, what, IsDigitRun(Field(column)) ? L"is out of range" : L"is not a whole number");
  }
  return value;
}

double cRowCheck::NumberOrRefuse(std::size_t column, std::wstring_view what) const {
  double value = 0.0;
  if (column >= FieldCount()) RefuseValue(column, what, L"is missing");
  if (!ParseWholeNumber(Field(column), value)) RefuseValue(column, what, L"is not a number");
  return value;
}

int cRowCheck::Int(std::size_t column, std::wstring_view what, int min, int max) const {
  const int value = WholeOrRefuse(column, what);
  if (value < min || value > max) RefuseValue(column, what, plat::Format(L"is out of range (%i to %i)", min, max));
  return value;
}

int cRowCheck::IntClamped(std::size_t column, std::wstring_view what, int min, int max) const {
  const int value = WholeOrRefuse(column, what);
  if (value >= min && value <= max) return value;
  const int taken = value < min ? min : max;
  Warn(plat::Format(L"column %u: %s \"%s\" is out of range (%i to %i); taken as %i", static_cast<unsigned>(column + 1),
                    std::wstring(what), Field(column), min, max, taken));
  return taken;
}

bool cRowCheck::Flag(std::size_t column, std::wstring_view what) const {
  return IntClamped(column, what, 0, 1) != 0;
}

double cRowCheck::Number(std::size_t column, std::wstring_view what, double min, double max) const {
  const double value = NumberOrRefuse(column, what);
  if (value < min || value > max) {
    RefuseValue(column, what, L"is out of range (" + NumberText(min) + L" to " + NumberText(max) + L")");
  }
  return value;
}

double cRowCheck::NumberClamped(std::size_t column, std::wstring_view what, double min, double max) const {
  const double value = NumberOrRefuse(column, what);
  if (value >= min && value <= max) return value;
  const double taken = value < min ? min : max;
  Warn(plat::Format(L"column %u: %s \"%s\" is out of range (", static_cast<unsigned>(column + 1), std::wstring(what),
                    Field(column)) +
       NumberText(min) + L" to " + NumberText(max) + L"); taken as " + NumberText(taken));
  return taken;
}

}  // namespace files
