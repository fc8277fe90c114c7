#include "app/texture.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include "app/console_log.h"
#include "platform/framework.h"
#include "platform/paths.h"

cTexture g_Textures[kTextureTableSize];

namespace {

// Direct3D's result codes, as the callers compare them (negative = failure).
constexpr long HResult(std::uint32_t code) { return static_cast<long>(static_cast<std::int32_t>(code)); }
const long kInvalidCall = HResult(0x8876086Cu);  // D3DERR_INVALIDCALL
const long kInvalidData = HResult(0x88760B59u);  // D3DXERR_INVALIDDATA
const long kOutOfMemory = HResult(0x8007000Eu);  // E_OUTOFMEMORY
constexpr long kUnknownKind = 20;
constexpr long kCreatedReset = 2;
// The holder's file name field has room for 499 characters and a terminator.
constexpr std::size_t kMaxFileName = 499;
constexpr int kDefaultSize = 256;

plat::Renderer* CurrentRenderer() { return plat::GetFramework().GetRenderer(); }

struct sFileTexture {
  std::uint64_t renderer;  // its Instance()
  std::string path;
  std::weak_ptr<plat::Texture> texture;
};

}  // namespace

std::shared_ptr<plat::Texture> LoadFileTexture(plat::Renderer& renderer, const std::string& path) {
  static std::mutex s_mutex;
  static auto* s_loaded = new std::vector<sFileTexture>;  // never destroyed: holders may outlive it at exit
  {
    std::lock_guard<std::mutex> lock(s_mutex);
    std::erase_if(*s_loaded, [](const sFileTexture& f) { return f.texture.expired(); });
    for (const sFileTexture& f : *s_loaded) {
      if (f.renderer != renderer.Instance() || f.path != path) continue;
      if (std::shared_ptr<plat::Texture> texture = f.texture.lock()) return texture;
    }
  }
  std::shared_ptr<plat::Texture> texture = renderer.LoadTexture(path);
  if (!texture) return nullptr;
  std::lock_guard<std::mutex> lock(s_mutex);
  s_loaded->push_back(sFileTexture{renderer.Instance(), path, texture});
  return texture;
}

cTexture::cTexture() = default;
cTexture::~cTexture() = default;

void cTexture::Release() {
  texture_.reset();
  file_name_.clear();
  kind_ = kNone;
  mip_levels_ = 0;
}

long cTexture::Load(const wchar_t* fileName, std::uint8_t kind, std::uint8_t mipLevels) {
  Release();
  kind_ = kind;
  mip_levels_ = mipLevels;
  if (fileName) {
    file_name_ = fileName;
    if (file_name_.size() > kMaxFileName) file_name_.resize(kMaxFileName);
  }
  switch (kind) {
    case kNone:
      return 0;
    case kFromFile: {
      plat::Renderer* renderer = CurrentRenderer();
      long result = kInvalidCall;
      if (renderer) {
        texture_ = LoadFileTexture(*renderer, plat::ResolvePath(std::wstring_view(file_name_)));
        result = texture_ ? 0 : kInvalidData;
      }
      LogLine(result >= 0 ? L"Loading file \"%s\" (%i) [OK]" : L"Loading file \"%s\" (%i) [FAILED]", file_name_,
              static_cast<int>(mip_levels_));
      return result;
    }
    case kCreated:
      return CreateDefault();
    default:
      return kUnknownKind;
  }
}

long cTexture::CreateDefault() {
  plat::Renderer* renderer = CurrentRenderer();
  if (!renderer) return kInvalidCall;
  texture_ = renderer->CreateTexture(kDefaultSize, kDefaultSize);
  return texture_ ? 0 : kOutOfMemory;
}

long cTexture::Create(int width, int height) {
  kind_ = kCreated;
  mip_levels_ = 1;
  plat::Renderer* renderer = CurrentRenderer();
  if (!renderer) {
    texture_.reset();
    return kInvalidCall;
  }
  if (width <= 0 || height <= 0) {
    texture_.reset();
    return kInvalidCall;
  }
  texture_ = renderer->CreateTexture(width, height);
  return texture_ ? 0 : kOutOfMemory;
}

long cTexture::OnDeviceCreated() {
  switch (kind_) {
    case kNone:
      return 0;
    case kCreated:
      return CreateDefault();
    default:
      return kUnknownKind;
  }
}

long cTexture::OnDeviceReset() {
  switch (kind_) {
    case kNone:
    case kFromFile:
      return 0;
    case kCreated:
      return kCreatedReset;
    default:
      return kUnknownKind;
  }
}

void cTexture::OnDeviceLost() {
  // Textures live in memory the renderer keeps across a reset; preloading
  // them has nothing to do.
}

long DrawSpriteRect(plat::SpriteBatch* sprite, cTexture* texture, const plat::RectI& source, int x, int y,
                    int width, int height, std::uint32_t argb, float depth, bool combine) {
  if (!sprite || !texture || !texture->Get()) return kInvalidCall;
  const int sourceWidth = source.right - source.left;
  const int sourceHeight = source.bottom - source.top;
  // An empty source would divide by zero; there is nothing to draw.
  if (sourceWidth <= 0 || sourceHeight <= 0) return kInvalidCall;
  const float scaleX = static_cast<float>(width) / static_cast<float>(sourceWidth);
  const float scaleY = static_cast<float>(height) / static_cast<float>(sourceHeight);
  // A zero-sized destination covers no pixels (and the position below would
  // divide by zero).
  if (scaleX == 0.0f || scaleY == 0.0f) return 0;

  // The scaling (before the batch's transform with combine) is handed to
  // the batch with the draw rather than set and restored around it.
  const plat::Matrix2D scaling = plat::Matrix2D::Scaling(scaleX, scaleY);
  const plat::Matrix2D transform = combine ? scaling.Then(sprite->GetTransform()) : scaling;
  // The position goes through the scaling too: divided, it lands on (x, y).
  sprite->Draw(*texture->Get(), &source, static_cast<float>(x) / scaleX, static_cast<float>(y) / scaleY, depth, argb,
               transform);
  return 0;
}

void DrawNineSlice(plat::SpriteBatch* sprite, cTexture* texture, int sheetX, int sheetY, int piece,
                   int x, int y, int width, int height, std::uint32_t argb) {
  const int innerW = std::max(0, width - 2 * piece);
  const int innerH = std::max(0, height - 2 * piece);
  const int columnX[3] = {x, x + piece, x + piece + innerW};
  const int columnW[3] = {piece, innerW, piece};
  const int rowY[3] = {y, y + piece, y + piece + innerH};
  const int rowH[3] = {piece, innerH, piece};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      if (columnW[column] <= 0 || rowH[row] <= 0) continue;
      const int sx = sheetX + column * piece;
      const int sy = sheetY + row * piece;
      DrawSpriteRect(sprite, texture, {sx, sy, sx + piece, sy + piece}, columnX[column], rowY[row],
                     columnW[column], rowH[row], argb, 0.0f, false);
    }
  }
}
