// The growable wide-character text of the edit box and the memo, and the
// measuring of caret positions and word stops in it. Positions are measured
// with the font the buffer is given (a resource-manager font index): each
// character's advance is measured once per font and cached, and the x of
// every character is kept as running sums that are brought up to date only
// from the first changed character on, so typing at the end of a long text
// stays cheap.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gui/dxut_element.h"

namespace plat {
class Font;
}

constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(static_cast<std::int32_t>(0x80004001u));

class CUniBuffer {
 public:
  // Characters, the terminator included.
  static constexpr int kMaxSize = 65535;

  explicit CUniBuffer(int initialSize = 1);
  ~CUniBuffer();
  CUniBuffer(const CUniBuffer&) = delete;
  CUniBuffer& operator=(const CUniBuffer&) = delete;

  bool SetBufferSize(int size);
  bool SetText(const wchar_t* text);
  bool InsertChar(int index, wchar_t character);
  bool RemoveChar(int index);
  bool InsertString(int index, const wchar_t* text, int count = -1);
  // Replaces the character at index (0 <= index < length).
  bool SetChar(int index, wchar_t character);
  // Empties the text; the capacity stays.
  void Clear();

  const wchar_t* GetBuffer() const { return m_pwszBuffer != nullptr ? m_pwszBuffer : L""; }
  int GetTextSize() const { return m_nTextSize; }
  wchar_t operator[](int index) const { return m_pwszBuffer[index]; }

  void SetFontIndex(int font);

  // Measures the text with the font; E_FAIL without a font (every position
  // then measures as failed and callers leave the caret where it is).
  HRESULT Analyse();
  HRESULT CPtoX(int position, bool trailing, int* x);
  HRESULT XtoCP(int x, int* position, bool* trailing);
  HRESULT GetNextItemPos(int position, int* next);
  HRESULT GetPriorItemPos(int position, int* prior);

 private:
  void Changed(int from);
  int Advance(plat::Font& font, wchar_t character);
  bool IsWordStop(int i) const;
  bool IsWhiteSpace(int i) const;

  wchar_t* m_pwszBuffer = nullptr;
  int m_nBufferSize = 0;
  int m_nTextSize = 0;
  int m_iFont = 0;
  bool m_bAnalyseRequired = true;
  bool m_bAnalysed = false;  // a measuring succeeded and is current
  // m_X[i]: leading x of character i; m_X[length] is the width of the text.
  // Entries before m_nValidFrom are still correct after a change.
  std::vector<int> m_X;
  int m_nValidFrom = 0;
  const plat::Font* m_pMeasuredFont = nullptr;
  int m_Ascii[128];
  std::unordered_map<wchar_t, int> m_Advances;
};
