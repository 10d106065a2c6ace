#include "match/MatchKits.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "shell/CGameTitlebar.h"
#include "shell/KitClash.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct SLOTENTRY {
    uint16_t wKey, wRange;
};
struct COLOURSLOT {
    float afReference[3];
    int nEntries;
    SLOTENTRY aEntries[4];
};
// Slot 0 has a reference and no entries.
constexpr COLOURSLOT kSlots[9] = {
    {{0, 255, 173}, 0, {}},
    {{37, 255, 220}, 1, {{108, 5}}},
    {{213, 255, 250}, 2, {{11, 17}, {255, 0}}},
    {{157, 250, 250}, 3, {{49, 19}, {70, 12}, {84, 7}}},
    {{64, 255, 74}, 4, {{0, 2}, {84, 0}, {88, 0}, {92, 0}}},
    {{97, 159, 160}, 1, {{92, 15}}},
    {{0, 203, 160}, 1, {{250, 5}}},
    {{200, 223, 48}, 1, {{28, 16}}},
    {{0, 203, 160}, 1, {{248, 1}}},
};

// Skin tone shifts in per cent (hue, saturation, lightness); tones above 6
// take tone 6's.
constexpr int kSkinShifts[7][3] = {{37, -29, 8}, {-65, 47, -10}, {-70, -30, 0}, {0, -100, -25},
                                   {33, -44, 25}, {0, -100, 30}, {-65, 47, -10}};
constexpr int kBlackToneFourShift[3] = {-70, -30, 0};
constexpr uint16_t kSkinKey = 29, kSkinRange = 18;
constexpr int kMaxEntries = 15;
constexpr uint32_t kWhite = 0xFFFFFF;

// Two kit colours within this on every channel count as the same shirt.
constexpr int kGoalkeeperNear = 20;

struct MASKNAMES {
    const char* pszNormal;
    const char* pszBlack;
    const char* pszItalian;
};
constexpr MASKNAMES kMasks[6] = {
    {"Mask_Sleeves.bmp", "Mask_Black_Sleeves.bmp", "Mask_Italian_Sleeves.bmp"},
    {"Master_Mask.bmp", "Master_Black_Mask.bmp", "Master_Italian_Mask.bmp"},
    {"Mask_Horizontal.bmp", "Mask_Black_Horizontal.bmp", "Mask_Italian_Horizontal.bmp"},
    {"Mask_Verticle.bmp", "Mask_Black_Verticle.bmp", "Mask_Italian_Verticle.bmp"},
    {"Mask_Checkers.bmp", "Mask_Black_Checkers.bmp", "Mask_Italian_Checkers.bmp"},
    {"Mask_Half.bmp", "Mask_Black_Half.bmp", "Mask_Italian_Half.bmp"},
};

int Channel(uint32_t dwColour, int nShift) { return int((dwColour >> nShift) & 0xFF); }

int ChannelSum(uint32_t dwColour) { return Channel(dwColour, 16) + Channel(dwColour, 8) + Channel(dwColour, 0); }

bool IsNear(uint32_t dwFirst, uint32_t dwSecond)
{
    if (dwFirst == dwSecond)
        return true;
    for (int nShift : {16, 8, 0})
        if (std::abs(Channel(dwFirst, nShift) - Channel(dwSecond, nShift)) >= kGoalkeeperNear)
            return false;
    return true;
}

void AddSlotColour(uint32_t dwColour, int nSlot, ColourRecord& record)
{
    float afShift[3];
    GetColourSlotShift(dwColour, nSlot, afShift);
    AddColourSlotEntries(afShift, nSlot, record);
}

void AddSlotShift(float fHue, float fSaturation, float fLightness, int nSlot, ColourRecord& record)
{
    const float afShift[3] = {fHue, fSaturation, fLightness};
    AddColourSlotEntries(afShift, nSlot, record);
}

}  // namespace

uint32_t GetKitColourRGB(int nIndex)
{
    return SwapRedAndBlue(CGameTitlebar::GetKitColour(nIndex));
}

MATCHKIT GetClubKit(const CClubDatabase& club, bool bAwayKit)
{
    const int nFirst = bAwayKit ? 2 : 0;
    MATCHKIT kit;
    kit.dwShirt = GetKitColourRGB(club.m_abyAttributes[nFirst]);
    kit.dwSecond = GetKitColourRGB(club.m_abyAttributes[nFirst + 1]);
    kit.byPattern = 0;
    kit.dwFourth = kit.dwSecond;
    kit.dwFifth = kit.dwShirt;
    kit.dwSixth = kit.dwSecond;
    return kit;
}

void GetColourSlotShift(uint32_t dwColour, int nSlot, float afShift[3])
{
    const uint8_t abyBGR[3] = {uint8_t(dwColour & 0xFF), uint8_t(dwColour >> 8 & 0xFF), uint8_t(dwColour >> 16 & 0xFF)};
    RGBToHSL(abyBGR, &afShift[0], &afShift[1], &afShift[2]);
    for (int i = 0; i < 3; ++i) {
        afShift[i] *= 255.0f;
        if (nSlot >= 0 && nSlot <= 8)
            afShift[i] -= kSlots[nSlot].afReference[i];
    }
}

void AddColourSlotEntries(const float afShift[3], int nSlot, ColourRecord& record, const uint16_t* pwIndex)
{
    if (nSlot < 0 || nSlot > 8)
        return;
    const COLOURSLOT& slot = kSlots[nSlot];
    int nAt = pwIndex ? *pwIndex : record.count;
    for (int e = 0; e < slot.nEntries && nAt < kMaxEntries; ++e, ++nAt) {
        record.first[nAt] = slot.aEntries[e].wKey;
        record.span[nAt] = slot.aEntries[e].wRange;
        for (int i = 0; i < 3; ++i)
            record.shift[nAt][i] = int16_t(afShift[i]);
    }
    record.count = uint16_t(nAt);
}

void AddSkinColourEntry(int nPosition, uint8_t bySkinTone, ColourRecord& record, bool bBlack)
{
    if (nPosition < 0 || nPosition >= kMaxEntries)
        return;
    const int* pnShift = bBlack && bySkinTone == 4 ? kBlackToneFourShift : kSkinShifts[bySkinTone < 6 ? bySkinTone : 6];
    record.first[nPosition] = kSkinKey;
    record.span[nPosition] = kSkinRange;
    for (int i = 0; i < 3; ++i)
        record.shift[nPosition][i] = int16_t(pnShift[i] * 255 / 100);
    record.count = uint16_t(nPosition + 1);
}

void GetKitMaskNames(uint8_t byPattern, const char** ppNormal, const char** ppBlack, const char** ppItalian)
{
    const MASKNAMES& names = kMasks[byPattern < 6 ? byPattern : 0];
    if (ppNormal)
        *ppNormal = names.pszNormal;
    if (ppBlack)
        *ppBlack = names.pszBlack;
    if (ppItalian)
        *ppItalian = names.pszItalian;
}

int ChooseGoalkeeperColour(uint32_t dwClub1, uint32_t dwClub2, bool bFirstIsReference)
{
    const int nReference = ChannelSum(bFirstIsReference ? dwClub1 : dwClub2);
    int nChoice = -1, nBest = 0;
    for (int i = 0; i < kGoalkeeperCandidates; ++i) {
        const uint32_t dwCandidate = kGoalkeeperColours[i];
        if (IsNear(dwCandidate, dwClub1) || IsNear(dwCandidate, dwClub2))
            continue;
        const int nScore = std::abs(ChannelSum(dwCandidate) - nReference);
        if (nChoice < 0 || nScore > nBest)
            nChoice = i, nBest = nScore;
    }
    // Within 20 of a club colour a candidate is near at most one of them, so
    // two clubs pass over two at most and there is always a choice.
    return nChoice < 0 ? 0 : nChoice;
}

MATCHKITCHOICE ChooseMatchKits(const CClubDatabase& home, const CClubDatabase& away)
{
    MATCHKITCHOICE choice;
    choice.bAwayChanges = ShouldWearAwayKit(&home, &away);
    const uint32_t dwHome = GetClubKit(home, false).dwShirt;
    const uint32_t dwAway = GetClubKit(away, choice.bAwayChanges).dwShirt;
    choice.anGoalkeeper[0] = ChooseGoalkeeperColour(dwHome, dwAway, true);
    choice.anGoalkeeper[1] = ChooseGoalkeeperColour(dwHome, dwAway, false);
    return choice;
}

const char* MakeGoalkeeperKit(int nCandidate, uint32_t dwClubSixth, uint8_t bySkinTone, uint8_t byAppearance,
                              ColourRecord& record)
{
    if (nCandidate < 0 || nCandidate >= kGoalkeeperCandidates)
        nCandidate = 0;
    const uint32_t dwOther = kGoalkeeperColours[kGoalkeeperCandidates - 1 - nCandidate];
    AddSlotColour(kGoalkeeperColours[nCandidate], 2, record);
    AddSlotColour(dwOther, 5, record);
    AddSlotColour(dwOther, 6, record);
    // The sock trims take the club colour's own values as the shift.
    float afTrim[3];
    GetColourSlotShift(dwClubSixth, 9, afTrim);
    AddColourSlotEntries(afTrim, 1, record);
    const bool bBlack = byAppearance >= 3;
    AddSkinColourEntry(record.count, bySkinTone, record, bBlack);
    return bBlack ? "Master_Black_Mask.bmp" : "Master_Mask.bmp";
}

const char* MakeOutfieldKit(const MATCHKIT& kit, uint8_t bySkinTone, uint8_t byAppearance, ColourRecord& record)
{
    AddSlotColour(kit.dwShirt, 2, record);
    AddSlotColour(kit.dwSecond, 3, record);
    AddSlotColour(kit.dwFifth, 6, record);
    AddSlotColour(kit.dwFourth, 5, record);
    AddSlotColour(kit.dwSixth, 1, record);
    const char *pszNormal, *pszBlack, *pszItalian;
    GetKitMaskNames(kit.byPattern, &pszNormal, &pszBlack, &pszItalian);
    const bool bBlack = byAppearance == 3 || byAppearance == 4;
    AddSkinColourEntry(record.count, bySkinTone, record, bBlack);
    return byAppearance == 0 ? pszNormal : bBlack ? pszBlack : pszItalian;
}

void MakeRefereeKit(ColourRecord& record)
{
    record = ColourRecord{};
    AddSlotShift(-199, -255, -43, 7, record);
    AddSlotShift(-43, -255, -235, 2, record);
    AddSlotShift(-128, -255, -144, 5, record);
    AddSlotColour(kWhite, 6, record);
    AddSlotColour(kWhite, 3, record);
    AddSlotShift(-29, -255, -231, 1, record);
    AddSlotColour(0x00FFFF, 8, record);
}

void MakeSecondAssistantKit(ColourRecord& record)
{
    MakeRefereeKit(record);
    --record.count;
    AddSlotColour(0x0000FF, 8, record);
}

void MakePhysioKit(ColourRecord& record)
{
    record = ColourRecord{};
    AddSlotShift(-199, -255, -43, 7, record);
    AddSlotColour(0x00FF00, 5, record);
    AddSlotColour(0x00FF00, 2, record);
    AddSlotColour(kWhite, 6, record);
    AddSlotColour(kWhite, 3, record);
    AddSlotColour(kWhite, 1, record);
}

int GetShirtNumber(const CPlayerDatabase& player, int nSquadPosition)
{
    const CClubDatabase* pClub = player.GetCurrentClub();
    const bool bNumbers = pClub && pClub->m_pDivision && pClub->m_pDivision->m_bySquadNumbers;
    // A player still without a number shows his place rather than a 0.
    return bNumbers && player.m_bySquadNumber != 0 ? player.m_bySquadNumber : nSquadPosition + 1;
}

int GetShirtNumberPictures(int nNumber, std::string asNames[2])
{
    nNumber = std::abs(nNumber) % 100;
    char szName[16];
    if (nNumber < 10) {
        std::snprintf(szName, sizeof szName, "-%d-.bmp", nNumber);
        asNames[0] = szName;
        return 1;
    }
    std::snprintf(szName, sizeof szName, "%d-.bmp", nNumber / 10);
    asNames[0] = szName;
    std::snprintf(szName, sizeof szName, "-%d.bmp", nNumber % 10);
    asNames[1] = szName;
    return 2;
}

uint16_t LoadKitTexture(CTextureManager& textures, const char* pszMask, const ColourRecord& record)
{
    return textures.LoadTexture(pszMask, 1, &record);
}

uint16_t DrawShirtNumber(CTextureManager& textures, uint16_t wTexture, int nNumber)
{
    if (wTexture == NO_TEXTURE)
        return wTexture;
    std::string asNames[2];
    const int nPictures = GetShirtNumberPictures(nNumber, asNames);
    for (int i = 0; i < nPictures; ++i)
        textures.ReplaceTexture(wTexture, asNames[i].c_str(), nullptr);
    return wTexture;
}

void AddCrowdShirtEntries(bool bShirts, ColourRecord& record, const CClubDatabase& club)
{
    record = ColourRecord{};
    if (!bShirts)
        return;
    const float afReference[3] = {76, 165, 85};
    float afShift[3];
    GetColourSlotShift(GetKitColourRGB(club.m_abyAttributes[0]), 9, afShift);
    constexpr SLOTENTRY kKeys[] = {{105, 5}, {113, 69}, {184, 0}, {191, 0}, {195, 0}, {197, 0}, {202, 0}};
    for (const SLOTENTRY& key : kKeys) {
        const uint16_t j = record.count++;
        record.first[j] = key.wKey;
        record.span[j] = key.wRange;
        for (int i = 0; i < 3; ++i)
            record.shift[j][i] = int16_t(afShift[i] - afReference[i]);
    }
}

void AddCrowdScarfEntries(ColourRecord& record, const CClubDatabase& club)
{
    const float afReference[3] = {213, 119, 131};
    float afShift[3];
    GetColourSlotShift(GetKitColourRGB(club.m_abyAttributes[0]), 9, afShift);
    constexpr SLOTENTRY kKeys[] = {{8, 1}, {12, 21}, {37, 1}, {40, 7}};
    for (const SLOTENTRY& key : kKeys) {
        if (record.count >= kMaxEntries)
            return;
        const uint16_t j = record.count++;
        record.first[j] = key.wKey;
        record.span[j] = key.wRange;
        for (int i = 0; i < 3; ++i)
            record.shift[j][i] = int16_t(afShift[i] - afReference[i]);
    }
}

float GetCrowdFill(uint32_t dwAttendance, uint32_t dwCapacity)
{
    // A ground without a capacity figure is taken as full rather than divided by.
    if (dwCapacity == 0)
        return 1.0f;
    const float fFill = float(dwAttendance) * (100.0f / float(dwCapacity)) / 100.0f;
    return fFill < 1.0f ? fFill : 1.0f;
}

bool IsHomeCrowdRow(int nRow, bool bHomeGround) { return nRow >= 0 && nRow <= (bHomeGround ? 6 : 3); }
