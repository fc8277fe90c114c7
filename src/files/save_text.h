// Small pieces shared by the readers and writers of the world-state files
// (cities, reconnaissance, airship reports, topography, city supply and
// convoy rows, sea nodes, relations, losses, reports, automatic events, eye
// candies): path forming, the save writer's convention, field splitting and
// the number conversions those readers use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace savetext {

// "<folder>\<file>".
std::wstring JoinPath(std::wstring_view folder, std::wstring_view fileName);
// The file name put in place of the first "%s" of a folder pattern such as
// "data\save\game\%s" (no formatting, so other '%' signs stay as they are).
// A pattern without "%s" is taken as a folder.
std::wstring PatternPath(std::wstring_view folderFormat, std::wstring_view fileName);

// A text written as one field of a row (files::CleanFieldText: ';' becomes
// ',', CR and LF blanks, an empty text "_").
std::wstring FieldSafe(std::wstring_view text);

// The save writer's convention for a file in text mode: logs
// "Opening file for writing..." and the path, writes the narrow text with
// every LF turned into CR LF, and logs "File opened OK". A file that cannot
// be written logs "Error opening file for writing" and ends the process
// (exit code 1).
void WriteTextFile(const std::wstring& path, std::string_view text);
// The same opening and failure lines around bytes written as they are.
void WriteBinaryFile(const std::wstring& path, std::string_view bytes);
// Writes without any log line; false on failure.
bool WriteBytes(const std::wstring& path, std::string_view bytes);

// The whole file; false when it cannot be opened or read.
bool ReadBytes(const std::wstring& path, std::string& out);

// Blanks (space, tab, CR, LF, vertical tab, form feed) cut from both ends.
std::wstring Trim(std::wstring_view text);
// Fields between ';'. keepEmpty false drops empty fields, so a run of ';'
// separates like one.
std::vector<std::wstring> Split(std::wstring_view line, bool keepEmpty);

// The leading integer of a field as the C library reads it: blanks, a sign
// and digits; 0 when the field starts with no number. Clamped to int.
int LeadingInt(std::wstring_view field);
// The whole field (blanks around it allowed) must be a decimal integer
// within int; false otherwise.
bool StrictInt(std::wstring_view field, int& out);

}  // namespace savetext
