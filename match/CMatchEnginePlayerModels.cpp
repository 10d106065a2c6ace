// The persons' meshes, models and kit textures, made once as the match is
// built (substitutes included: every squad member gets his model and kit).
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/MatchKits.h"
#include "match/actors/CMatchReferee.h"
#include "render3d/C3DEngine.h"
#include "render3d/CObjectData.h"
#include "shell/CFileManager.h"

#include <string>

namespace {

constexpr uint16_t kPersonBones = 15;
constexpr uint16_t kPlayerLevels[] = {40, 30, 22, 15, 0};
constexpr uint16_t kAssistantLevels[] = {40, 33, 26, 19, 12, 0};
// The officials and the physio wear no skin tone of their own.
constexpr uint8_t kOfficialSkinTone = 0;

// The object of a person mesh with its further files as levels of detail.
uint16_t LoadPersonMesh(CObjectData& objects, const char* pszStem, const uint16_t* pwLevels, int nLevels)
{
    const std::string stem = std::string("MatchMeshes\\") + pszStem;
    const uint16_t wObject = objects.LoadSkinned((stem + "1.x").c_str(), kPersonBones);
    if (wObject == OBJECT_NOT_FOUND || nLevels <= 1)
        return wObject;
    for (int i = 2; i <= nLevels; ++i)
        objects.AddLevel(wObject, (stem + std::to_string(i) + ".x").c_str(), kPersonBones);
    objects.SetLevelOfDetailList(wObject, uint16_t(nLevels), pwLevels);
    return wObject;
}

uint16_t OfficialTexture(CTextureManager& textures, ColourRecord record)
{
    AddSkinColourEntry(record.count, kOfficialSkinTone, record, false);
    return LoadKitTexture(textures, "Master_Mask.bmp", record);
}

}  // namespace

uint16_t CMatchEngine::ApplyShirtNumber(const CMatchPlayer& player, uint16_t wTexture)
{
    if (!m_p3DEngine || !player.GetRecord())
        return wTexture;
    return DrawShirtNumber(*m_p3DEngine->GetTextureManager(), wTexture,
                           GetShirtNumber(*player.GetRecord(), player.GetSquadPosition()));
}

void CMatchEngine::SetupPolygonPlayers()
{
    if (!m_pHomeClub || !m_pAwayClub || !m_pMatchReferee)
        return;
    // Without a 3-D view nothing is drawn, and the persons move without
    // animations, so there is nothing to load.
    if (!C3DEngine::Is3DAvailable() || !m_p3DEngine) {
        DebugLog(0, "[CMatchEngine::SetupPolygonPlayers] No 3D");
        return;
    }
    CObjectData& objects = *m_p3DEngine->GetObjectData();
    const uint16_t wPlayer = LoadPersonMesh(objects, "PlayerX", kPlayerLevels, 5);
    const uint16_t wKeeper = LoadPersonMesh(objects, "Goaliex", nullptr, 1);
    const uint16_t wPhysio = LoadPersonMesh(objects, "Physiox", nullptr, 1);
    const uint16_t wAssistant = LoadPersonMesh(objects, "Linesmanx", kAssistantLevels, 6);
    if (wPlayer == OBJECT_NOT_FOUND) {
        DebugLog(6, "[CMatchEngine::SetupPolygonPlayers] No player mesh");
        return;
    }
    CMatchPerson::LoadAnimations(objects, wPlayer);

    CMatchClub* apClubs[2] = {m_pHomeClub.get(), m_pAwayClub.get()};
    for (CMatchClub* pClub : apClubs)
        for (int i = 0; i < pClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = pClub->GetSlot(i))
                p->SetupModel(pClub->WearsGoalkeeperKit(i) && wKeeper != OBJECT_NOT_FOUND ? wKeeper : wPlayer);
    m_pMatchReferee->SetupModel(wPlayer);
    for (int i = 0; i < 2; ++i)
        m_pMatchReferee->GetAssistant(i).SetupModel(wAssistant != OBJECT_NOT_FOUND ? wAssistant : wPlayer);
    if (m_pPhysio)
        m_pPhysio->SetupModel(wPhysio != OBJECT_NOT_FOUND ? wPhysio : wPlayer);

    CTextureManager& textures = *m_p3DEngine->GetTextureManager();
    // The stadium's set-up opened the match textures' archive; a match
    // without a stadium opens it here.
    if (!m_pMatchTextures) {
        m_pMatchTextures = std::make_unique<CFileManager>();
        if (m_pMatchTextures->Open("MatchMeshes\\Textures.BFS"))
            textures.SetArchive(m_pMatchTextures.get());
    }
    // Goalkeepers first, then the outfield players of each side.
    auto dress = [&](CMatchClub* pClub, int nSlot) {
        CMatchPlayer* p = pClub->GetSlot(nSlot);
        if (!p || !p->GetRecord())
            return;
        const CPlayerDatabase& record = *p->GetRecord();
        ColourRecord colours{};
        const char* pszMask =
            pClub->WearsGoalkeeperKit(nSlot)
                ? MakeGoalkeeperKit(pClub->GetGoalkeeperCandidate(), GetClubKit(*pClub->GetRecord(), false).dwSixth,
                                    record.m_byAppearanceVariant, record.m_byAppearanceType, colours)
                : MakeOutfieldKit(pClub->GetWornKit(), record.m_byAppearanceVariant, record.m_byAppearanceType,
                                  colours);
        p->SetKitTexture(ApplyShirtNumber(*p, LoadKitTexture(textures, pszMask, colours)));
    };
    for (CMatchClub* pClub : apClubs)
        dress(pClub, 0);
    DebugLog(0, "Set up polygon player textures");
    for (CMatchClub* pClub : apClubs)
        for (int i = 1; i < pClub->GetSquadCount(); ++i)
            dress(pClub, i);

    DebugLog(0, "Referees");
    ColourRecord colours{};
    MakeRefereeKit(colours);
    const uint16_t wReferee = OfficialTexture(textures, colours);
    m_pMatchReferee->SetKitTexture(wReferee);
    m_pMatchReferee->GetAssistant(0).SetKitTexture(wReferee);
    MakeSecondAssistantKit(colours);
    m_pMatchReferee->GetAssistant(1).SetKitTexture(OfficialTexture(textures, colours));
    if (m_pPhysio) {
        MakePhysioKit(colours);
        m_pPhysio->SetKitTexture(OfficialTexture(textures, colours));
    }
    DebugLog(6, "[CMatchEngine::SetupPolygonPlayers] Exited");
}
