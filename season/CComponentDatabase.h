#pragma once
// One built (or being built) part of a ground: a stand, a facility or a pitch
// item, with the data of its main type.
#include <cstdint>

class CBinaryReader;
class CBinaryWriter;
class CDatabaseHandler;
class CGroundDatabase;

enum {
    COMPONENT_STAND = 0,
    COMPONENT_FACILITY = 1,
    COMPONENT_PITCH_ITEM = 2,
    COMPONENT_MAIN_TYPES = 3,
};

// Bytes of the specific data of each main type.
constexpr int COMPONENT_STAND_DATA = 10;
constexpr int COMPONENT_FACILITY_DATA = 4;
constexpr int COMPONENT_PITCH_ITEM_DATA = 1;
constexpr int COMPONENT_MAX_DATA = COMPONENT_STAND_DATA;
// 10, 4 or 1; 0 for an unknown main type.
int GetComponentDataSize(int nMainType);
// Checks the values of a specific data block that index tables: a stand's
// tier code, quality, side, size and roof; a facility's footprint.
bool IsComponentDataValid(int nMainType, int nSubType, const uint8_t* pData);

// Stand data offsets.
enum {
    STAND_QUALITY = 0,
    STAND_SIDE = 1,
    STAND_SIZE = 2,
    STAND_BYTE3 = 3,
    STAND_SEATS = 4,  // u16
    STAND_ROOF = 6,
    STAND_PARTS = 7,  // three counts
};
// Facility data offsets.
enum {
    FACILITY_KIND = 0,
    FACILITY_FOOTPRINT = 1,
    FACILITY_X = 2,
    FACILITY_Y = 3,
};
constexpr int STAND_SIDES = 8;
// Ticket sections of a stand: its tiers, and its added parts last.
constexpr int STAND_SECTIONS = 4;
constexpr int FACILITY_FOOTPRINTS = 9;

// Names of the stand picture of the given data: tier prefix, size digit and
// side. False (nothing written) for values outside the tables.
bool GetStand2DFilenames(int nSubType, const uint8_t* pStandData, char* pszStand, char* pszRoof);

class CComponentDatabase {
public:
    static constexpr int FILE_SIZE = 20;

    // A new component takes the next component identifier of the handler.
    CComponentDatabase(uint8_t byMainType, uint16_t wGroundID);
    // A component read from a file gets its identifier there.
    CComponentDatabase() = default;

    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    // Reads the record and its data block; false for a short record or an
    // unknown main type or data values outside their tables.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    // Ticket price of a stand for a club figure (reputation plus support); 0
    // for other components.
    int GetStandardTicketPrice(int nClubFigure) const;
    int GetStadiumCompositeType() const;
    int GetNumberOfTiers() const;
    // Seats of one tier (1-based); 0 for a component that is not a stand.
    int GetTierSeats(int nTier) const;
    // Seats of a ticket section (0-3): the tiers from the front, section 3
    // the stand's added parts; 0 for a section the stand does not have.
    int GetSectionSeats(int nSection) const;
    // Names end in ".BMP"; buffers of at least 16 characters.
    bool Get2DComponentFilename(char* pszStand, char* pszRoof) const;
    // Mesh names, with ".x" when asked; buffers of at least 16 characters.
    bool Get3DComponentFilename(char* pszMesh, char* pszRoofMesh, bool bExtension, int nPercentComplete) const;

    bool IsStand() const { return m_byMainType == COMPONENT_STAND; }
    bool IsFinished() const { return !m_byDemolished && !m_byUnderConstruction; }

    uint32_t GetID() const { return m_dwID; }
    void SetID(uint32_t dwID) { m_dwID = dwID; }
    uint16_t GetGroundID() const { return m_wGroundID; }
    void SetGroundID(uint16_t wGroundID) { m_wGroundID = wGroundID; }
    uint8_t GetMainType() const { return m_byMainType; }
    void SetMainType(uint8_t byMainType) { m_byMainType = byMainType; }
    uint8_t GetSubType() const { return m_bySubType; }
    void SetSubType(uint8_t bySubType) { m_bySubType = bySubType; }
    uint32_t GetValue() const { return m_dwValue; }
    void SetValue(uint32_t dwValue) { m_dwValue = dwValue; }
    uint32_t GetMaintenanceCost() const { return m_dwMaintenanceCost; }
    void SetMaintenanceCost(uint32_t dwCost) { m_dwMaintenanceCost = dwCost; }
    bool IsDemolished() const { return m_byDemolished != 0; }
    void SetDemolished(bool b) { m_byDemolished = b ? 1 : 0; }
    bool IsUnderConstruction() const { return m_byUnderConstruction != 0; }
    void SetUnderConstruction(bool b) { m_byUnderConstruction = b ? 1 : 0; }

    // The specific data block (GetComponentDataSize(main type) bytes).
    uint8_t* GetSpecificData() { return m_abyData; }
    const uint8_t* GetSpecificData() const { return m_abyData; }
    void SetSpecificData(const uint8_t* pData);
    // Stand fields.
    int GetStandSide() const { return IsStand() ? m_abyData[STAND_SIDE] : 0; }
    int GetStandQuality() const { return m_abyData[STAND_QUALITY]; }
    int GetStandSize() const { return m_abyData[STAND_SIZE]; }
    int GetStandSeats() const { return m_abyData[STAND_SEATS] | (m_abyData[STAND_SEATS + 1] << 8); }
    void SetStandSeats(int nSeats);
    int GetStandRoof() const { return m_abyData[STAND_ROOF]; }

    CGroundDatabase* GetGround() const { return m_pGround; }
    void SetGround(CGroundDatabase* pGround) { m_pGround = pGround; }

private:
    static CDatabaseHandler* m_pDatabaseHandler;

    uint32_t m_dwID = 0;
    uint16_t m_wGroundID = 0;
    uint8_t m_byMainType = 0;
    uint8_t m_bySubType = 0;
    uint32_t m_dwValue = 0;
    uint32_t m_dwMaintenanceCost = 0;
    uint8_t m_byDemolished = 0;
    uint8_t m_byUnderConstruction = 0;
    uint8_t m_abyData[COMPONENT_MAX_DATA] = {};
    CGroundDatabase* m_pGround = nullptr;  // not stored
};
