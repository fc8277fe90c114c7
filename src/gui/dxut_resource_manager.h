// The one store of fonts and textures the GUI draws with, shared by all
// dialogs: fonts by face, height and weight, textures by file name. Dialogs
// hold indices into the node lists. The drawing objects follow the renderer
// of the frame: made when it exists (at once for a node added later), and
// dropped and made again when the frame's renderer changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/dxut_element.h"
#include "platform/render.h"

struct DXUTFontNode {
  std::wstring strFace;  // at most 259 characters
  std::unique_ptr<plat::Font> pFont;
  int nHeight = 0;
  int nWeight = 0;
};

struct DXUTTextureNode {
  std::wstring strFilename;  // at most 259 characters
  std::shared_ptr<plat::Texture> pTexture;  // shared with other holders of the file (LoadFileTexture)
  unsigned dwWidth = 0;
  unsigned dwHeight = 0;
};

class CDXUTDialogResourceManager {
 public:
  CDXUTDialogResourceManager() = default;
  CDXUTDialogResourceManager(const CDXUTDialogResourceManager&) = delete;
  CDXUTDialogResourceManager& operator=(const CDXUTDialogResourceManager&) = delete;

  // Index of the node with this face (case-insensitive), height and weight;
  // a new node otherwise.
  int AddFont(const std::wstring& face, int height, int weight);
  int AddTexture(const std::wstring& fileName);

  HRESULT CreateFont(int index);
  HRESULT CreateTexture(int index);

  // Device life cycle: the renderer of the frame in use.
  HRESULT OnCreateDevice(plat::Renderer* device);
  void OnDestroyDevice();

  DXUTFontNode* GetFontNode(int index);
  DXUTTextureNode* GetTextureNode(int index);
  int FontCount() const { return static_cast<int>(fonts_.size()); }
  int TextureCount() const { return static_cast<int>(textures_.size()); }

  // The sprite batch of the current renderer (null without one), and a
  // white texel for filled rectangles.
  plat::SpriteBatch* GetSprite();
  const plat::Texture* GetWhiteTexture();
  // The renderer the nodes were made on, without following the frame.
  const plat::Renderer* DeviceInUse() const { return device_; }

 private:
  // Follows the frame's renderer: objects of a renderer that is gone are
  // dropped, and a new renderer gets them made.
  void SyncDevice();

  plat::Renderer* device_ = nullptr;
  std::unique_ptr<plat::SpriteBatch> sprite_;
  std::unique_ptr<plat::Texture> white_;
  std::vector<std::unique_ptr<DXUTTextureNode>> textures_;
  std::vector<std::unique_ptr<DXUTFontNode>> fonts_;
};

CDXUTDialogResourceManager& GetGlobalDialogResourceManager();
