#pragma once
// The colours the persons of a match wear and the textures made from them:
// the goalkeeper's shirt chosen against both sides, each side's kit, the
// officials' and the physio's fixed kits, the crowd's colours, and the
// colour records that recolour a kit mask picture slot by slot (the mask's
// palette entries of one slot all sit at the slot's reference colour, so a
// hue, saturation and lightness shift from the reference to the wanted
// colour paints that part of the kit). Colours are 0xRRGGBB.
#include "render3d/CTextureManager.h"

#include <cstdint>
#include <string>

class CClubDatabase;
class CPlayerDatabase;

// One kit: shirt, second colour, pattern (0-5) and three further colours
// (shorts, socks, and the trims of the socks).
struct MATCHKIT {
    uint32_t dwShirt = 0xFFFFFF;
    uint32_t dwSecond = 0xFFFFFF;
    uint8_t byPattern = 0;
    uint32_t dwFourth = 0xFFFFFF;
    uint32_t dwFifth = 0xFFFFFF;
    uint32_t dwSixth = 0xFFFFFF;
};

// The five goalkeeper shirts, in the order they are tried.
constexpr int kGoalkeeperCandidates = 5;
constexpr uint32_t kGoalkeeperColours[kGoalkeeperCandidates] = {0x0096FF, 0xC000FF, 0xFFA45B, 0xC1C843, 0x20A5DA};

// The kit colour table's entry as 0xRRGGBB.
uint32_t GetKitColourRGB(int nIndex);
// 0xRRGGBB to the table's own order (blue high) and back.
constexpr uint32_t SwapRedAndBlue(uint32_t dwColour)
{
    return (dwColour & 0xFF) << 16 | (dwColour & 0xFF00) | (dwColour >> 16 & 0xFF);
}
// A club's home or away kit. The records keep a shirt and a second colour
// per kit and no pattern: the shorts take the second colour, the socks the
// shirt colour and their trims the second colour again.
MATCHKIT GetClubKit(const CClubDatabase& club, bool bAwayKit);

// The shift (hue, saturation, lightness on 0..255) that turns the slot's
// reference into the colour; slots above 8 subtract nothing.
void GetColourSlotShift(uint32_t dwColour, int nSlot, float afShift[3]);
// Appends the slot's entries with the shift, each component truncated
// toward zero; with an index the count is set from it instead of counted up.
void AddColourSlotEntries(const float afShift[3], int nSlot, ColourRecord& record, const uint16_t* pwIndex = nullptr);
// The skin entry at the position (count becomes position + 1), shifted by
// the skin tone; the Black mask changes tone 4's shift.
void AddSkinColourEntry(int nPosition, uint8_t bySkinTone, ColourRecord& record, bool bBlack);
// The normal, Black and Italian mask of a pattern; any out may be null.
void GetKitMaskNames(uint8_t byPattern, const char** ppNormal, const char** ppBlack, const char** ppItalian);

// The goalkeeper shirt (index into kGoalkeeperColours) against both club
// colours: candidates equal to or within 20 on every channel of either are
// passed over; of the rest the one whose R + G + B lies furthest from the
// reference (club 1's when bFirstIsReference, else club 2's) wins, the
// earlier on a tie.
int ChooseGoalkeeperColour(uint32_t dwClub1, uint32_t dwClub2, bool bFirstIsReference);

// The kits of a match: whether the away side changes into its away kit,
// and each side's goalkeeper shirt (home, away) measured against its own
// side's shirt.
struct MATCHKITCHOICE {
    bool bAwayChanges = false;
    int anGoalkeeper[2] = {};
};
MATCHKITCHOICE ChooseMatchKits(const CClubDatabase& home, const CClubDatabase& away);

// The colour record and mask of a goalkeeper kit: the chosen shirt, the
// mirrored candidate on shorts and socks, the sock trims from the sixth
// colour of his club's home kit, his skin.
const char* MakeGoalkeeperKit(int nCandidate, uint32_t dwClubSixth, uint8_t bySkinTone, uint8_t byAppearance,
                              ColourRecord& record);
// The colour record and mask of an outfield player in a kit.
const char* MakeOutfieldKit(const MATCHKIT& kit, uint8_t bySkinTone, uint8_t byAppearance, ColourRecord& record);
// The officials' kits: the referee's (also the first assistant's), the
// second assistant's (blue where the others wear cyan) and the physio's.
void MakeRefereeKit(ColourRecord& record);
void MakeSecondAssistantKit(ColourRecord& record);
void MakePhysioKit(ColourRecord& record);

// The number on a player's shirt: his squad number where his division uses
// them and he has one, else his squad position + 1.
int GetShirtNumber(const CPlayerDatabase& player, int nSquadPosition);
// The digit pictures of a number drawn onto a kit ("-7-.bmp", or "2-.bmp"
// and "-3.bmp"); numbers above 99 show their last two digits. Returns how many.
int GetShirtNumberPictures(int nNumber, std::string asNames[2]);

// The kit textures of one texture manager; every texture is made unshared
// so that each player's number goes onto his own.
uint16_t LoadKitTexture(CTextureManager& textures, const char* pszMask, const ColourRecord& record);
// Draws the number's digits onto the texture; returns the texture.
uint16_t DrawShirtNumber(CTextureManager& textures, uint16_t wTexture, int nNumber);

// The crowd's colours of a club: its home shirt on the spectators' shirts
// (when bShirts; the record is emptied either way) and on their scarves.
void AddCrowdShirtEntries(bool bShirts, ColourRecord& record, const CClubDatabase& club);
void AddCrowdScarfEntries(ColourRecord& record, const CClubDatabase& club);
// The share of a stand's seats taken (0..1): attendance against capacity.
float GetCrowdFill(uint32_t dwAttendance, uint32_t dwCapacity);
// Whether a stand row holds the home club's supporters: rows 0-6 at the
// home club's own ground, rows 0-3 at another.
bool IsHomeCrowdRow(int nRow, bool bHomeGround);
