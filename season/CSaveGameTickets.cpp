// A human club's prices: the 17 match-day rows (cost, price, stock and what
// they sold), the ticket prices of each stand and section, the ticket
// policy, season tickets, and the gate of a home match worked out stand by
// stand from those prices.
#include "season/CSaveGame.h"

#include <algorithm>
#include <cstring>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"

namespace {

constexpr int kNewsGate = 150;
constexpr uint8_t kFanGateModifier = 13;
// A price far below the standard cannot draw more than half as many again.
constexpr double kMostDemand = 1.5;
// The share of the still empty seats a cheap season ticket sells.
constexpr double kCheapSeasonShare = 0.5;

int32_t Clamp32(int64_t n)
{
    return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

// How many more (above 1) or fewer fans a price draws than the standard.
double PriceDemand(int nStandard, int nPrice)
{
    if (nStandard <= 0)
        return 1.0;
    if (nPrice <= 0)
        return kMostDemand;
    const double dRatio = static_cast<double>(nStandard) / nPrice;
    return std::min(dRatio * dRatio, kMostDemand);
}

// Each section of each open stand (neither closed nor being built) that
// holds seats: visit(stand slot, section, seats).
template <typename VISIT>
void ForEachOpenSection(const CClubDatabase* pClub, VISIT visit)
{
    const CGroundDatabase* pGround = pClub ? pClub->m_pGround : nullptr;
    for (int s = 0; pGround && s < STAND_SIDES; ++s) {
        const CComponentDatabase* pStand = pGround->GetStandOnSide(s);
        if (!pStand || !pStand->IsFinished())
            continue;
        for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
            if (const int nSeats = pStand->GetSectionSeats(nSection); nSeats > 0)
                visit(s, nSection, nSeats);
    }
}

const MERCHANDISEROW* StandardRow(const CDatabaseHandler* pHandler, int nRow)
{
    if (!pHandler || nRow < 0 || nRow >= static_cast<int>(pHandler->GetGameTables().GetMerchandise().size()))
        return nullptr;
    return &pHandler->GetGameTables().GetMerchandise()[static_cast<size_t>(nRow)];
}

}  // namespace

int32_t CSaveGame::GetTicketField(int nRow, int nField) const
{
    if (nRow < 0 || nRow >= TICKET_ROWS || nField < 0 || nField >= TICKET_ROW_BYTES / 4)
        return 0;
    const uint8_t* p = m_abyTickets[nRow] + nField * 4;
    return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void CSaveGame::SetTicketField(int nRow, int nField, int32_t nValue)
{
    if (nRow < 0 || nRow >= TICKET_ROWS || nField < 0 || nField >= TICKET_ROW_BYTES / 4)
        return;
    uint8_t* p = m_abyTickets[nRow] + nField * 4;
    const auto dw = static_cast<uint32_t>(nValue);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(dw >> (8 * i));
}

uint16_t CSaveGame::GetStandPrice(int nStand, int nSection, int nField) const
{
    const int nEntry = nStand * STAND_SECTIONS + nSection;
    if (nStand < 0 || nSection < 0 || nSection >= STAND_SECTIONS || nEntry >= STAND_PRICE_ENTRIES || nField < 0 ||
        nField >= STAND_PRICE_BYTES / 2)
        return 0;
    const uint8_t* p = m_abyStandPrices[nEntry] + nField * 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void CSaveGame::SetStandPrice(int nStand, int nSection, int nField, uint16_t wValue)
{
    const int nEntry = nStand * STAND_SECTIONS + nSection;
    if (nStand < 0 || nSection < 0 || nSection >= STAND_SECTIONS || nEntry >= STAND_PRICE_ENTRIES || nField < 0 ||
        nField >= STAND_PRICE_BYTES / 2)
        return;
    m_abyStandPrices[nEntry][nField * 2] = static_cast<uint8_t>(wValue);
    m_abyStandPrices[nEntry][nField * 2 + 1] = static_cast<uint8_t>(wValue >> 8);
}

int CSaveGame::GetTicketType(int nKind)
{
    switch (nKind) {
    case 0:
        return STAND_PRICE_LEAGUE;
    case 1:
    case 2:
        return STAND_PRICE_CUP;
    case 3:
        return STAND_PRICE_FRIENDLY;
    default:
        DebugLog(1, "[CSaveGame::GetTicketType] Unknown Ticket Type to convert assuming League Ticket Type!");
        return STAND_PRICE_LEAGUE;
    }
}

int CSaveGame::GetStandardTicketPrices(int nStand, int nField) const
{
    if (nField < STAND_PRICE_FRIENDLY || nField > STAND_PRICE_SEASON) {
        DebugLog(1, "[CSaveGame::GetStandardTicketPrices] Unknown TICKET_? Type!");
        return 0;
    }
    const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
    const CComponentDatabase* pStand = pGround ? pGround->GetStandOnSide(nStand) : nullptr;
    if (!pStand)
        return 0;
    const int nPrice =
        pStand->GetStandardTicketPrice(m_pClub->m_bySupportLevel + m_pClub->m_byReputation) & 0xFFFF;
    if (nField != STAND_PRICE_SEASON)
        return nPrice;
    // A season ticket costs one match for each home match of the season.
    const int nClubs = m_pClub->m_pDivision ? m_pClub->m_pDivision->GetClubCount() : 0;
    return std::max(nClubs - 1, 0) * nPrice;
}

void CSaveGame::SetStandTicketPrice(int nField, int nStand, int nSection, uint16_t wPrice, float fFactor)
{
    const float fPrice = std::clamp(static_cast<float>(wPrice) * fFactor, 0.0f, 65535.0f);
    SetStandPrice(nStand, nSection, nField, static_cast<uint16_t>(fPrice));
}

void CSaveGame::SetStandPrices(float fFactor)
{
    std::memset(m_abyStandPrices, 0, sizeof(m_abyStandPrices));
    for (int s = 0; s < STAND_SIDES; ++s) {
        const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
        if (!pGround || !pGround->GetStandOnSide(s))
            continue;
        for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
            for (int nField = STAND_PRICE_FRIENDLY; nField <= STAND_PRICE_SEASON; ++nField) {
                const int nStandard = std::clamp(GetStandardTicketPrices(s, nField), 0, 65535);
                SetStandTicketPrice(nField, s, nSection, static_cast<uint16_t>(nStandard), fFactor);
            }
    }
}

void CSaveGame::ApplyTicketPolicy()
{
    const uint8_t byPolicy = GetDelegation(6);
    if (byPolicy == 0 || !m_pClub)
        return;
    const int nClubs = m_pClub->m_pDivision ? m_pClub->m_pDivision->GetClubCount() : 0;
    const float fFactor =
        static_cast<float>(std::max(10, nClubs / 2 - m_pClub->m_byLeaguePosition + m_pClub->m_nFanConfidence + 1)) *
        0.001f;
    if (byPolicy == 1)
        SetStandPrices(1.0f + fFactor);
    else if (byPolicy == 2)
        SetStandPrices(1.0f);
    else if (byPolicy == 3)
        SetStandPrices(1.0f - fFactor);
}

void CSaveGame::KeepTicketPriceRatio()
{
    for (int r = 0; r < TICKET_ROWS; ++r) {
        const MERCHANDISEROW* pRow = StandardRow(m_pDatabaseHandler, r);
        if (!pRow || pRow->nStandardCost == 0)
            continue;  // no standard pair to keep the ratio of
        SetTicketField(r, TICKET_FIELD_PRICE,
                       Clamp32(static_cast<int64_t>(GetTicketField(r, TICKET_FIELD_COST)) * pRow->nStandardPrice /
                               pRow->nStandardCost));
    }
}

void CSaveGame::SetStandardTicketPrices()
{
    const int nLevel = m_pClub ? m_pClub->m_bySupportLevel + m_pClub->m_byReputation : 0;
    for (int r = 0; r < TICKET_ROWS; ++r) {
        const MERCHANDISEROW* pRow = StandardRow(m_pDatabaseHandler, r);
        if (!pRow)
            continue;
        const int32_t s = pRow->nStandardPrice;
        const auto nStep = static_cast<int32_t>((nLevel / 10 - 10) * 0.01 * s);
        SetTicketField(r, TICKET_FIELD_PRICE, static_cast<int32_t>((s + nStep) * 2.5));
    }
}

void CSaveGame::ApplyProductPricing()
{
    const uint8_t byMode = GetDelegation(SAVEGAME_DELEGATION_PRODUCT_PRICES);
    if (byMode == 1)
        SetStandardTicketPrices();
    else if (byMode == 2 || byMode == 3)
        KeepTicketPriceRatio();
}

void CSaveGame::SetUpTicketTables()
{
    std::memset(m_abyTickets, 0, sizeof(m_abyTickets));
    for (int r = 0; r < TICKET_ROWS; ++r)
        if (const MERCHANDISEROW* pRow = StandardRow(m_pDatabaseHandler, r))
            SetTicketField(r, TICKET_FIELD_COST, pRow->nStandardCost);
    SetStandardTicketPrices();
    if (m_pClub)
        m_pClub->UpdateGroundFacilityTotals();
    SetStandPrices(1.0f);
    m_anAttendanceTrend[0] = m_anAttendanceTrend[1] = 0;
}

int32_t CSaveGame::GetProjectedTicketIncome(int nKind) const
{
    const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
    if (!pGround || pGround->GetCapacity() < 1)
        return 0;
    const double dShare = static_cast<double>(m_pClub->GetAttendanceCapacity()) / pGround->GetCapacity();
    const int nField = GetTicketType(nKind);
    double dIncome = 0.0;
    ForEachOpenSection(m_pClub, [&](int s, int nSection, int nSeats) {
        const int nFree = nSeats - GetStandPrice(s, nSection, STAND_PRICE_SOLD);
        dIncome += std::max(nFree, 0) * dShare * GetStandPrice(s, nSection, nField);
    });
    return Clamp32(static_cast<int64_t>(dIncome));
}

void CSaveGame::UpdateAttendanceTrend(int32_t nValue)
{
    if (m_anAttendanceTrend[0] == 0) {
        m_anAttendanceTrend[0] = nValue;
        return;
    }
    m_anAttendanceTrend[1] = Clamp32((static_cast<int64_t>(nValue) - m_anAttendanceTrend[0] + m_anAttendanceTrend[1]) / 2);
    m_anAttendanceTrend[0] = nValue;
}

int32_t CSaveGame::SellSeasonTickets(uint16_t* pSold) const
{
    if (!m_pClub)
        return 0;
    const double dLevel = std::min(m_pClub->GetClubRating(), 70) * 0.01;
    int64_t nIncome = 0;
    ForEachOpenSection(m_pClub, [&](int s, int nSection, int nSeats) {
        const int nStandard = GetStandardTicketPrices(s, STAND_PRICE_SEASON);
        const int nPrice = GetStandPrice(s, nSection, STAND_PRICE_SEASON);
        // The loyal part of the club's support buys, fewer the dearer the ticket.
        int nSold = std::min(nSeats, static_cast<int>(nSeats * dLevel * std::min(PriceDemand(nStandard, nPrice), 1.0)));
        // A ticket under its standard price tempts some of the rest.
        if (nStandard > nPrice && nStandard > 0)
            nSold += static_cast<int>((nSeats - nSold) * (1.0 - static_cast<double>(nPrice) / nStandard) *
                                      kCheapSeasonShare);
        nSold = std::clamp(nSold, 0, 65535);
        nIncome += static_cast<int64_t>(nSold) * nPrice;
        if (pSold)
            pSold[s * STAND_SECTIONS + nSection] = static_cast<uint16_t>(nSold);
    });
    return Clamp32(nIncome);
}

int32_t CSaveGame::ComputeSeasonTicketIncome(bool bProjection)
{
    uint16_t awSold[STAND_PRICE_ENTRIES] = {};
    const int32_t nIncome = SellSeasonTickets(awSold);
    if (!bProjection)
        for (int e = 0; e < STAND_PRICE_ENTRIES; ++e)
            if (awSold[e])
                SetStandPrice(e / STAND_SECTIONS, e % STAND_SECTIONS, STAND_PRICE_SOLD, awSold[e]);
    return nIncome;
}

int CSaveGame::GetMatchAttendance(CClubDatabase* pOpponent, int nKind, int32_t* pnReceipts, STANDATTENDANCE* pStands)
{
    if (!m_pClub)
        return 0;
    ApplyTicketPolicy();
    const int nField = GetTicketType(nKind);
    STANDATTENDANCE aStands[STAND_SIDES][STAND_SECTIONS] = {};
    const double dFactor = m_pClub->GetAttendanceFactor(pOpponent, nKind);
    int64_t nAttendance = 0;
    int64_t nIncome = 0;
    ForEachOpenSection(m_pClub, [&](int s, int nSection, int nSeats) {
        const int nStandard = GetStandardTicketPrices(s, nField);
        // Season-ticket holders come to every league match and have paid.
        const int nHolders = nKind == 0 ? std::min<int>(GetStandPrice(s, nSection, STAND_PRICE_SOLD), nSeats) : 0;
        const int nPrice = GetStandPrice(s, nSection, nField);
        const int nFree = nSeats - nHolders;
        const int nPaying = std::clamp(static_cast<int>(dFactor * nFree * PriceDemand(nStandard, nPrice)), 0, nFree);
        STANDATTENDANCE& out = aStands[s][nSection];
        out.wAttendance = static_cast<uint16_t>(std::min(nPaying + nHolders, 65535));
        out.dwIncome = static_cast<uint32_t>(static_cast<int64_t>(nPaying) * nPrice);
        nAttendance += nPaying + nHolders;
        nIncome += static_cast<int64_t>(nPaying) * nPrice;
    });
    const int32_t nReceipts = Clamp32(nIncome);
    m_pClub->BookGate(pOpponent, nKind, nReceipts);
    if (pnReceipts)
        *pnReceipts = nReceipts;
    if (pStands)
        for (int s = 0; s < STAND_SIDES; ++s)
            for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
                pStands[s * STAND_SECTIONS + nSection] = aStands[s][nSection];
    PostNews(kNewsGate, m_pClub);
    m_pClub->UpdateFanConfidence(kFanGateModifier);
    const int nCrowd = static_cast<int>(std::min<int64_t>(nAttendance, INT32_MAX));
    UpdateAttendanceTrend(nCrowd);
    return nCrowd;
}
