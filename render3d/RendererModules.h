#pragma once
// The objects the one engine publishes to the renderer's modules while it
// exists (the device while the device layer is up); null otherwise.
namespace plat {
class Device3D;
}
class C3DEngine;
class CTextureManager;
class CMaterialManager;

extern plat::Device3D* g_pD3DDevice;
extern C3DEngine* g_p3DEngine;
extern CTextureManager* g_pTextureManager;
extern CMaterialManager* g_pMaterialManager;
