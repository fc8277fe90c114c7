#include "gui/dxut_text_buffer.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <string_view>

#include "gui/dxut_resource_manager.h"
#include "platform/render.h"

CUniBuffer::CUniBuffer(int initialSize) {
  std::fill(std::begin(m_Ascii), std::end(m_Ascii), -1);
  if (initialSize > 0) {
    m_pwszBuffer = new (std::nothrow) wchar_t[static_cast<std::size_t>(std::min(initialSize, kMaxSize))];
    if (m_pwszBuffer != nullptr) {
      m_pwszBuffer[0] = L'\0';
      m_nBufferSize = std::min(initialSize, kMaxSize);
    }
  }
}

CUniBuffer::~CUniBuffer() { delete[] m_pwszBuffer; }

void CUniBuffer::Changed(int from) {
  m_bAnalyseRequired = true;
  m_nValidFrom = std::min(m_nValidFrom, std::max(from, 0));
}

bool CUniBuffer::SetBufferSize(int size) {
  if (m_nBufferSize >= kMaxSize) return false;
  int newSize = 0;
  if (size != -1 && size >= m_nBufferSize) {
    newSize = static_cast<int>(std::min<long long>(2LL * size, kMaxSize));
  } else {
    newSize = m_nBufferSize != 0 ? std::min(2 * m_nBufferSize, kMaxSize) : 256;
  }
  // Never smaller than the text it has to hold.
  newSize = std::max(newSize, m_nTextSize + 1);
  wchar_t* grown = new (std::nothrow) wchar_t[static_cast<std::size_t>(newSize)];
  if (grown == nullptr) return false;
  if (m_pwszBuffer != nullptr) {
    std::memcpy(grown, m_pwszBuffer, sizeof(wchar_t) * static_cast<std::size_t>(m_nTextSize + 1));
  } else {
    grown[0] = L'\0';
  }
  delete[] m_pwszBuffer;
  m_pwszBuffer = grown;
  m_nBufferSize = newSize;
  return true;
}

bool CUniBuffer::SetText(const wchar_t* text) {
  if (text == nullptr) text = L"";
  const std::size_t length = std::wcslen(text);
  if (length + 1 >= static_cast<std::size_t>(kMaxSize)) return false;
  const int needed = static_cast<int>(length) + 1;
  while (m_nBufferSize < needed) {
    if (!SetBufferSize(-1)) return false;
  }
  std::memcpy(m_pwszBuffer, text, sizeof(wchar_t) * static_cast<std::size_t>(needed));
  m_nTextSize = needed - 1;
  Changed(0);
  return true;
}

bool CUniBuffer::InsertChar(int index, wchar_t character) {
  if (index < 0 || index > m_nTextSize || m_nTextSize + 1 >= kMaxSize) return false;
  if (m_nTextSize + 1 >= m_nBufferSize && !SetBufferSize(-1)) return false;
  std::memmove(m_pwszBuffer + index + 1, m_pwszBuffer + index,
               sizeof(wchar_t) * static_cast<std::size_t>(m_nTextSize - index + 1));
  m_pwszBuffer[index] = character;
  ++m_nTextSize;
  Changed(index);
  return true;
}

bool CUniBuffer::RemoveChar(int index) {
  if (m_nTextSize == 0 || index < 0 || index >= m_nTextSize) return false;
  std::memmove(m_pwszBuffer + index, m_pwszBuffer + index + 1,
               sizeof(wchar_t) * static_cast<std::size_t>(m_nTextSize - index));
  --m_nTextSize;
  Changed(index);
  return true;
}

bool CUniBuffer::InsertString(int index, const wchar_t* text, int count) {
  if (text == nullptr) return false;
  if (count == -1) {
    const std::size_t n = std::wcslen(text);
    if (n >= static_cast<std::size_t>(kMaxSize)) return false;
    count = static_cast<int>(n);
  }
  if (count < 0 || index < 0 || index > m_nTextSize || m_nTextSize + count >= kMaxSize) return false;
  if (m_nTextSize + count + 1 > m_nBufferSize && !SetBufferSize(m_nTextSize + count + 1)) return false;
  std::memmove(m_pwszBuffer + index + count, m_pwszBuffer + index,
               sizeof(wchar_t) * static_cast<std::size_t>(m_nTextSize - index + 1));
  std::memcpy(m_pwszBuffer + index, text, sizeof(wchar_t) * static_cast<std::size_t>(count));
  m_nTextSize += count;
  Changed(index);
  return true;
}

bool CUniBuffer::SetChar(int index, wchar_t character) {
  if (index < 0 || index >= m_nTextSize) return false;
  m_pwszBuffer[index] = character;
  Changed(index);
  return true;
}

void CUniBuffer::Clear() {
  if (m_pwszBuffer != nullptr) m_pwszBuffer[0] = L'\0';
  m_nTextSize = 0;
  Changed(0);
}

void CUniBuffer::SetFontIndex(int font) {
  if (font == m_iFont) return;
  m_iFont = font;
  m_bAnalyseRequired = true;
}

// --- measuring --------------------------------------------------------------

int CUniBuffer::Advance(plat::Font& font, wchar_t character) {
  const auto code = static_cast<std::uint32_t>(character);
  if (code < 128 && m_Ascii[code] >= 0) return m_Ascii[code];
  if (code >= 128) {
    if (auto it = m_Advances.find(character); it != m_Advances.end()) return it->second;
  }
  plat::RectI rect{};
  font.DrawText(nullptr, std::wstring_view(&character, 1), rect,
                plat::kTextSingleLine | plat::kTextNoClip | plat::kTextCalcRect, 0);
  const int width = std::max(rect.Width(), 0);
  if (code < 128) {
    m_Ascii[code] = width;
  } else {
    m_Advances[character] = width;
  }
  return width;
}

HRESULT CUniBuffer::Analyse() {
  m_bAnalysed = false;
  DXUTFontNode* node = GetGlobalDialogResourceManager().GetFontNode(m_iFont);
  plat::Font* font = node != nullptr ? node->pFont.get() : nullptr;
  if (font == nullptr) return E_FAIL;
  if (font != m_pMeasuredFont) {
    // Another font: every advance and position is measured again.
    std::fill(std::begin(m_Ascii), std::end(m_Ascii), -1);
    m_Advances.clear();
    m_pMeasuredFont = font;
    m_nValidFrom = 0;
  }
  try {
    m_X.resize(static_cast<std::size_t>(m_nTextSize) + 1);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  int from = std::min(m_nValidFrom, m_nTextSize);
  int x = from == 0 ? 0 : m_X[static_cast<std::size_t>(from)];
  m_X[0] = 0;
  for (int i = from; i < m_nTextSize; ++i) {
    x += Advance(*font, m_pwszBuffer[i]);
    m_X[static_cast<std::size_t>(i) + 1] = x;
  }
  m_nValidFrom = m_nTextSize;
  m_bAnalyseRequired = false;
  m_bAnalysed = true;
  return S_OK;
}

HRESULT CUniBuffer::CPtoX(int position, bool trailing, int* x) {
  if (x == nullptr) return E_INVALIDARG;
  *x = 0;
  if (m_bAnalyseRequired || !m_bAnalysed) {
    if (HRESULT hr = Analyse(); FAILED(hr)) return hr;
  }
  if (position < 0 || position > m_nTextSize) return E_INVALIDARG;
  // The terminator is part of the measured text and has no width.
  const int edge = trailing && position < m_nTextSize ? position + 1 : position;
  *x = m_X[static_cast<std::size_t>(edge)];
  return S_OK;
}

HRESULT CUniBuffer::XtoCP(int x, int* position, bool* trailing) {
  if (position == nullptr || trailing == nullptr) return E_INVALIDARG;
  *position = 0;
  *trailing = false;
  if (m_bAnalyseRequired || !m_bAnalysed) {
    if (HRESULT hr = Analyse(); FAILED(hr)) return hr;
  }
  int cp = 0;
  bool trail = false;
  if (x < 0) {
    cp = -1;
    trail = true;
  } else if (x >= m_X[static_cast<std::size_t>(m_nTextSize)]) {
    cp = m_nTextSize + 1;  // past the terminator
  } else {
    // The last character whose leading edge is at or left of x.
    const auto begin = m_X.begin();
    const auto end = begin + m_nTextSize + 1;
    cp = static_cast<int>(std::upper_bound(begin, end, x) - begin) - 1;
    const int left = m_X[static_cast<std::size_t>(cp)];
    const int right = m_X[static_cast<std::size_t>(cp) + 1];
    trail = 2 * (x - left) >= right - left;
  }
  if (cp == -1 && trail) {
    cp = 0;
    trail = false;
  } else if (cp > m_nTextSize && !trail) {
    cp = m_nTextSize;
    trail = true;
  }
  *position = cp;
  *trailing = trail;
  return S_OK;
}

bool CUniBuffer::IsWhiteSpace(int i) const {
  return i >= 0 && i < m_nTextSize && std::iswspace(static_cast<wint_t>(m_pwszBuffer[i])) != 0;
}

namespace {

// Letters and digits. The wide classification follows the process locale,
// which knows no letters beyond ASCII in the "C" locale: accented and other
// letters from U+00C0 on count as letters too, the punctuation blocks not.
bool IsWordChar(wchar_t c) {
  if (std::iswalnum(static_cast<wint_t>(c)) != 0) return true;
  const auto code = static_cast<std::uint32_t>(c);
  if (code < 0xC0 || code == 0xD7 || code == 0xF7) return false;
  if ((code >= 0x2000 && code <= 0x2BFF) || (code >= 0x3000 && code <= 0x303F)) return false;
  return std::iswspace(static_cast<wint_t>(c)) == 0;
}

}  // namespace

// A word starts at a letter or digit after anything else, and every mark of
// punctuation stands as a word of its own.
bool CUniBuffer::IsWordStop(int i) const {
  if (i <= 0 || i >= m_nTextSize || IsWhiteSpace(i)) return false;
  return !IsWordChar(m_pwszBuffer[i]) || !IsWordChar(m_pwszBuffer[i - 1]);
}

HRESULT CUniBuffer::GetNextItemPos(int position, int* next) {
  if (next == nullptr) return E_INVALIDARG;
  *next = position;
  if (m_bAnalyseRequired || !m_bAnalysed) {
    if (HRESULT hr = Analyse(); FAILED(hr)) return hr;
  }
  const int count = m_nTextSize + 1;  // the terminator included
  for (int i = std::min(position + 1, count); i < count - 1; ++i) {
    if (i < 0) continue;
    if (IsWordStop(i)) {
      *next = i;
      return S_OK;
    }
    if (IsWhiteSpace(i) && !IsWhiteSpace(i + 1)) {
      *next = i + 1;
      return S_OK;
    }
  }
  *next = count - 1;
  return S_OK;
}

HRESULT CUniBuffer::GetPriorItemPos(int position, int* prior) {
  if (prior == nullptr) return E_INVALIDARG;
  *prior = position;
  if (m_bAnalyseRequired || !m_bAnalysed) {
    if (HRESULT hr = Analyse(); FAILED(hr)) return hr;
  }
  const int count = m_nTextSize + 1;
  for (int i = std::min(position - 1, count); i > 0; --i) {
    if (IsWordStop(i) || (!IsWhiteSpace(i) && i < m_nTextSize && IsWhiteSpace(i - 1))) {
      *prior = i;
      return S_OK;
    }
  }
  *prior = 0;
  return S_OK;
}
