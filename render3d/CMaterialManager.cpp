#include "render3d/CMaterialManager.h"

#include "platform/Device3D.h"
#include "render3d/RendererModules.h"

#include <cstring>

namespace {

plat::MaterialSettings ToSettings(const D3DMATERIAL& d)
{
    plat::MaterialSettings s;
    s.diffuse = {d.diffuse.r, d.diffuse.g, d.diffuse.b, d.diffuse.a};
    s.ambient = {d.ambient.r, d.ambient.g, d.ambient.b, d.ambient.a};
    s.specular = {d.specular.r, d.specular.g, d.specular.b, d.specular.a};
    s.emissive = {d.emissive.r, d.emissive.g, d.emissive.b, d.emissive.a};
    s.power = d.power;
    return s;
}

}  // namespace

CMaterialManager::CMaterialManager(int nCapacity) : m_pMaterials(new CPointerArray)
{
    m_pMaterials->SetSize(0, 10);
    m_pMaterials->SetSize(nCapacity > 0 ? nCapacity : 0);
    m_pMaterials->SetSize(0);
}

CMaterialManager::~CMaterialManager()
{
    for (int i = 0; i < m_wCount; ++i) {
        MaterialRecord* pRecord = Record(static_cast<uint16_t>(i));
        delete pRecord->pDescription;
        delete pRecord->pHandle;
        delete pRecord;
    }
    delete m_pMaterials;
}

CMaterialManager::MaterialRecord* CMaterialManager::Record(uint16_t wIndex) const
{
    return static_cast<MaterialRecord*>(m_pMaterials->GetAt(wIndex));
}

bool CMaterialManager::IsLive(uint16_t wIndex) const
{
    return wIndex < m_wCount && Record(wIndex)->bLive;
}

uint16_t CMaterialManager::FindMaterial(const D3DMATERIAL* pMaterial) const
{
    for (int i = 0; i < m_wCount; ++i)
        if (std::memcmp(Record(static_cast<uint16_t>(i))->pDescription, pMaterial, sizeof(D3DMATERIAL)) == 0)
            return static_cast<uint16_t>(i);
    return MATERIAL_NOT_FOUND;
}

uint16_t CMaterialManager::AddMaterial(const D3DMATERIAL* pMaterial)
{
    if (m_wCount > 0) {
        const uint16_t wFound = FindMaterial(pMaterial);
        if (wFound != MATERIAL_NOT_FOUND)
            return wFound;
    }
    auto* pRecord = new MaterialRecord{new D3DMATERIAL(*pMaterial), true, new uint32_t(m_wCount + 1u)};
    m_pMaterials->SetAtGrow(m_wCount, pRecord);
    return m_wCount++;
}

void CMaterialManager::SetCurrentMaterial(uint16_t wIndex)
{
    if (wIndex >= m_wCount || wIndex == m_wCurrent)
        return;
    m_wCurrent = wIndex;
    if (g_pD3DDevice && Record(wIndex)->bLive)
        g_pD3DDevice->setMaterial(ToSettings(*Record(wIndex)->pDescription));
}

void CMaterialManager::ReleaseMaterials()
{
    for (int i = 0; i < m_wCount; ++i)
        Record(static_cast<uint16_t>(i))->bLive = false;
}

void CMaterialManager::RestoreMaterials()
{
    for (int i = 0; i < m_wCount; ++i) {
        MaterialRecord* pRecord = Record(static_cast<uint16_t>(i));
        if (!pRecord->bLive) {
            pRecord->bLive = true;
            *pRecord->pHandle = static_cast<uint32_t>(i + 1);
        }
    }
}
