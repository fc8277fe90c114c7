#include "gui/dxut_resource_manager.h"

#include <cwctype>
#include <new>

#include "app/texture.h"
#include "platform/framework.h"
#include "platform/paths.h"

namespace {

constexpr std::size_t kMaxName = 259;

bool SameName(const std::wstring& a, const std::wstring& b) {
  const std::size_t n = std::min<std::size_t>(kMaxName, std::max(a.size(), b.size()));
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t ca = i < a.size() ? a[i] : L'\0';
    const wchar_t cb = i < b.size() ? b[i] : L'\0';
    if (std::towlower(static_cast<wint_t>(ca)) != std::towlower(static_cast<wint_t>(cb))) return false;
    if (ca == L'\0') return true;
  }
  return true;
}

}  // namespace

CDXUTDialogResourceManager& GetGlobalDialogResourceManager() {
  static CDXUTDialogResourceManager manager;
  return manager;
}

void CDXUTDialogResourceManager::SyncDevice() {
  plat::Renderer* current = plat::GetFramework().GetRenderer();
  if (current == device_) return;
  if (device_ != nullptr) OnDestroyDevice();
  if (current != nullptr) OnCreateDevice(current);
}

int CDXUTDialogResourceManager::AddFont(const std::wstring& face, int height, int weight) {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const DXUTFontNode& node = *fonts_[i];
    if (SameName(node.strFace, face) && node.nHeight == height && node.nWeight == weight) {
      return static_cast<int>(i);
    }
  }
  auto node = std::unique_ptr<DXUTFontNode>(new (std::nothrow) DXUTFontNode);
  if (!node) return -1;
  node->strFace = face.substr(0, kMaxName);
  node->nHeight = height;
  node->nWeight = weight;
  fonts_.push_back(std::move(node));
  const int index = static_cast<int>(fonts_.size()) - 1;
  if (device_ != nullptr) CreateFont(index);
  return index;
}

int CDXUTDialogResourceManager::AddTexture(const std::wstring& fileName) {
  for (std::size_t i = 0; i < textures_.size(); ++i) {
    if (SameName(textures_[i]->strFilename, fileName)) return static_cast<int>(i);
  }
  auto node = std::unique_ptr<DXUTTextureNode>(new (std::nothrow) DXUTTextureNode);
  if (!node) return -1;
  node->strFilename = fileName.substr(0, kMaxName);
  textures_.push_back(std::move(node));
  const int index = static_cast<int>(textures_.size()) - 1;
  if (device_ != nullptr) CreateTexture(index);
  return index;
}

HRESULT CDXUTDialogResourceManager::CreateFont(int index) {
  if (index < 0 || index >= FontCount() || device_ == nullptr) return E_INVALIDARG;
  DXUTFontNode& node = *fonts_[static_cast<std::size_t>(index)];
  node.pFont.reset();
  node.pFont = device_->CreateFont(node.strFace, node.nHeight, node.nWeight);
  return node.pFont ? S_OK : E_FAIL;
}

HRESULT CDXUTDialogResourceManager::CreateTexture(int index) {
  if (index < 0 || index >= TextureCount() || device_ == nullptr) return E_INVALIDARG;
  DXUTTextureNode& node = *textures_[static_cast<std::size_t>(index)];
  if (node.strFilename.empty()) return S_OK;
  node.pTexture.reset();
  node.pTexture = LoadFileTexture(*device_, plat::ResolvePath(std::wstring_view(node.strFilename)));
  if (!node.pTexture) return E_FAIL;
  node.dwWidth = static_cast<unsigned>(node.pTexture->Width());
  node.dwHeight = static_cast<unsigned>(node.pTexture->Height());
  return S_OK;
}

HRESULT CDXUTDialogResourceManager::OnCreateDevice(plat::Renderer* device) {
  if (device_ != nullptr && device_ != device) OnDestroyDevice();
  device_ = device;
  if (device_ == nullptr) return S_OK;
  HRESULT result = S_OK;
  // Every node is tried, so that one missing file leaves the others usable;
  // the first failure is reported.
  for (int i = 0; i < FontCount(); ++i) {
    const HRESULT hr = CreateFont(i);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  for (int i = 0; i < TextureCount(); ++i) {
    const HRESULT hr = CreateTexture(i);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  sprite_ = std::make_unique<plat::SpriteBatch>(*device_);
  white_ = device_->CreateTexture(1, 1);
  if (white_) {
    int pitch = 0;
    if (std::uint32_t* texel = white_->Lock(pitch)) *texel = 0xFFFFFFFF;
    white_->Unlock();
  }
  return result;
}

void CDXUTDialogResourceManager::OnDestroyDevice() {
  for (auto& node : fonts_) node->pFont.reset();
  for (auto& node : textures_) node->pTexture.reset();
  sprite_.reset();
  white_.reset();
  device_ = nullptr;
}

DXUTFontNode* CDXUTDialogResourceManager::GetFontNode(int index) {
  SyncDevice();
  if (index < 0 || index >= FontCount()) return nullptr;
  return fonts_[static_cast<std::size_t>(index)].get();
}

DXUTTextureNode* CDXUTDialogResourceManager::GetTextureNode(int index) {
  SyncDevice();
  if (index < 0 || index >= TextureCount()) return nullptr;
  return textures_[static_cast<std::size_t>(index)].get();
}

plat::SpriteBatch* CDXUTDialogResourceManager::GetSprite() {
  SyncDevice();
  return sprite_.get();
}

const plat::Texture* CDXUTDialogResourceManager::GetWhiteTexture() {
  SyncDevice();
  return white_.get();
}
