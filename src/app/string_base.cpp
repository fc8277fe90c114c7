#include "app/string_base.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <new>
#include <stdexcept>

#include "app/console_log.h"
#include "platform/paths.h"
#include "platform/text.h"

cStringBase g_StringBase;

namespace {

constexpr std::size_t kHeaderSize = 9;   // unused byte + record count
constexpr std::size_t kMinRecordSize = 3;  // empty key and empty text

std::uint64_t ReadU64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// UTF-16LE units to wide text, surrogate pairs joined into one character and
// a lone surrogate kept as it is (the rules of plat::FromUtf16LE). Written
// straight into the final string: the loader's hot loop.
void DecodeUtf16LE(const unsigned char* p, std::size_t units, std::wstring& out) {
  out.resize(units);
  wchar_t* w = out.data();
  std::size_t n = 0;
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t u = p[2 * i] | (static_cast<char32_t>(p[2 * i + 1]) << 8);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      const char32_t lo = p[2 * i + 2] | (static_cast<char32_t>(p[2 * i + 3]) << 8);
      if (lo >= 0xDC00 && lo < 0xE000) {
        w[n++] = static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        ++i;
        continue;
      }
    }
    w[n++] = static_cast<wchar_t>(u);
  }
  out.resize(n);
}

}  // namespace

cStringBase::cStringBase() : texts_(53) { texts_.max_load_factor(1.0f); }

const std::wstring* cStringBase::Keep(std::wstring&& text) {
  storage_.push_back(std::move(text));
  return &storage_.back();
}

void cStringBase::Load(std::string_view name_in, bool replace) {
  LogLine(L"Loading string base");

  std::string name(name_in);
  const std::size_t at = name.find("LANGID");
  if (at != std::string::npos) name.replace(at, 6, GetLanguageCode());

  std::vector<unsigned char> buffer;
  std::uint64_t size = 0;
  if (!ReadWholeFile(name, buffer, size)) {
    LogLine(L"Failed opening string base");
    return;
  }

  std::size_t count = 0;
  {
    std::unique_lock lock(mutex_);
    const auto index = static_cast<std::int32_t>(loaded_files_.size());
    loaded_files_.push_back(name);

    // A file too short to hold the record count holds no records; it still
    // opened, so it counts as loaded. Every read below is checked against
    // the end of the data: a record cut short ends the reading, the records
    // before it stay, and a count N larger than the data is harmless.
    const unsigned char* data = buffer.data();
    const std::size_t end = static_cast<std::size_t>(size);
    if (end >= kHeaderSize) {
      const std::uint64_t n = ReadU64(data + 1);
      const std::uint64_t fit = (end - kHeaderSize) / kMinRecordSize;
      texts_.reserve(texts_.size() + static_cast<std::size_t>(std::min(n, fit)));

      std::wstring scratch;
      std::size_t pos = kHeaderSize;
      for (std::uint64_t r = 0; r < n; ++r) {
        if (end - pos < 1) break;
        const std::size_t k = data[pos];
        if (end - pos - 1 < k) break;
        const std::string_view key(reinterpret_cast<const char*>(data + pos + 1), k);
        pos += 1 + k;
        if (end - pos < 2) break;
        const std::size_t m = data[pos] | (static_cast<std::size_t>(data[pos + 1]) << 8);
        pos += 2;
        if (end - pos < 2 * m) break;
        const unsigned char* text = data + pos;
        pos += 2 * m;

        // One hash and one search per record: the entry is made at once and
        // given its text below when the key is new.
        const auto [it, inserted] = texts_.try_emplace(std::string(key), sStringBaseEntry{index, nullptr});
        if (inserted) {
          try {
            storage_.emplace_back();
            DecodeUtf16LE(text, m, storage_.back());
          } catch (...) {
            texts_.erase(it);  // never leave an entry without a text
            throw;
          }
          it->second.text = &storage_.back();
        } else if (replace) {
          // The old text stays where it is (a caller may still hold it);
          // the entry moves on to the new one, its id unchanged.
          DecodeUtf16LE(text, m, scratch);
          if (scratch != *it->second.text) it->second.text = Keep(std::wstring(scratch));
        }
      }
    }
    count = texts_.size();
  }

  LogLine(L"Loaded %i strings", static_cast<int>(count));
  LogLine(L"Loaded string base");
}

const wchar_t* cStringBase::GetText(std::string_view key) {
  {
    std::shared_lock lock(mutex_);
    const auto it = texts_.find(key);
    if (it != texts_.end()) return it->second.text->c_str();
  }
  std::unique_lock lock(mutex_);
  auto it = texts_.find(key);  // another thread may have inserted it meanwhile
  if (it == texts_.end()) {
    it = texts_.emplace(std::string(key), sStringBaseEntry{-1, Keep(plat::WidenBytesSigned(key))}).first;
  }
  return it->second.text->c_str();
}

void cStringBase::SetLanguageCode(std::wstring_view code) {
  std::string narrow = plat::NarrowBytes(code);
  std::unique_lock lock(mutex_);
  language_code_ = std::move(narrow);
}

std::string cStringBase::GetLanguageCode() const {
  std::shared_lock lock(mutex_);
  return language_code_;
}

std::optional<sStringBaseEntry> cStringBase::FindEntry(std::string_view key) const {
  std::shared_lock lock(mutex_);
  const auto it = texts_.find(key);
  if (it == texts_.end()) return std::nullopt;
  return it->second;
}

std::size_t cStringBase::Count() const {
  std::shared_lock lock(mutex_);
  return texts_.size();
}

std::vector<std::string> cStringBase::LoadedFiles() const {
  std::shared_lock lock(mutex_);
  return loaded_files_;
}

bool ReadWholeFile(std::string_view name, std::vector<unsigned char>& buffer, std::uint64_t& size) {
  const std::string path = plat::ResolvePath(name);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;

  bool ok = false;
  struct stat st {};
  // A folder opens on Linux but has no size to read; treat it like a file
  // that cannot be opened.
  if (::fstat(::fileno(file), &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0) {
    const auto length = static_cast<std::uint64_t>(st.st_size);
    try {
      buffer.resize(static_cast<std::size_t>(length));
      ok = length == 0 || std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size();
      if (ok) size = length;
    } catch (const std::bad_alloc&) {
      ok = false;
    } catch (const std::length_error&) {
      ok = false;
    }
  }
  std::fclose(file);
  return ok;
}
