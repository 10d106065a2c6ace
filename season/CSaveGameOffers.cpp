// The buy and loan offers that end while a human's club made them: a dated
// report of each for his transfer screens, and the offer kept for him.
#include "season/CSaveGame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/CBinaryFile.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CLoanOfferDatabase.h"

namespace {

constexpr size_t kTransferReportBytes = 132;
constexpr size_t kLoanReportBytes = 36;
// Where a report keeps its age: an i32 over the copied offer's day count and
// status in a transfer report, the spare byte of a loan report.
constexpr size_t kTransferReportAgeAt = 124;
constexpr size_t kLoanReportAgeAt = 31;
constexpr int kReportLifeDays = 14;

template <typename Offer>
uint8_t* CopyOffer(const Offer& offer, size_t nBytes)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    offer.Save(writer);
    bytes.resize(nBytes, 0);
    auto* p = new uint8_t[nBytes];
    std::memcpy(p, bytes.data(), nBytes);
    return p;
}

int32_t ReadI32(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void WriteI32(uint8_t* p, int32_t n)
{
    const auto u = static_cast<uint32_t>(n);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(u >> (8 * i));
}

// Where a report holds the offer's identifier.
constexpr size_t kTransferReportIdAt = 96;
constexpr size_t kLoanReportIdAt = 0;

// Adds the days to every report of the list and drops the stale ones with
// the offers they report, so that the kept offers do not pile up.
template <typename Offer, typename Age, typename SetAge>
void AgeReports(CXList& reports, CXList& offers, size_t nIdAt, int nDays, Age age, SetAge setAge)
{
    LPXLISTNODE pNode = reports.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* p = static_cast<uint8_t*>(pNode->pData);
        const int nAge = age(p) + std::max(0, nDays);
        if (nAge > kReportLifeDays) {
            const auto dwOfferID = static_cast<uint32_t>(ReadI32(p + nIdAt));
            if (Offer* pOffer = offers.FindItem<Offer>([&](const Offer* o) { return o->GetOfferID() == dwOfferID; })) {
                offers.Remove(offers.Find(pOffer));
                delete pOffer;
            }
            reports.Remove(pNode);
            delete[] p;
        } else {
            setAge(p, nAge);
        }
        pNode = pNext;
    }
}

}  // namespace

int CSaveGame::GetTransferReportAge(const uint8_t* pReport)
{
    return pReport ? ReadI32(pReport + kTransferReportAgeAt) : 0;
}

int CSaveGame::GetLoanReportAge(const uint8_t* pReport)
{
    return pReport ? pReport[kLoanReportAgeAt] : 0;
}

void CSaveGame::TakeEndedBuyOffer(CBuyOfferDatabase* pOffer)
{
    if (!pOffer)
        return;
    uint8_t* pReport = CopyOffer(*pOffer, kTransferReportBytes);
    WriteI32(pReport + kTransferReportAgeAt, 0);
    m_lstTransferReports.AddTail(pReport);
    m_lstBuyOffers.AddTail(pOffer);
}

void CSaveGame::TakeEndedLoanOffer(CLoanOfferDatabase* pOffer)
{
    if (!pOffer)
        return;
    uint8_t* pReport = CopyOffer(*pOffer, kLoanReportBytes);
    pReport[kLoanReportAgeAt] = 0;
    m_lstLoanReports.AddTail(pReport);
    m_lstLoanOffers.AddTail(pOffer);
}

void CSaveGame::AgeTransferOfferReports(int nDays)
{
    AgeReports<CBuyOfferDatabase>(m_lstTransferReports, m_lstBuyOffers, kTransferReportIdAt, nDays, GetTransferReportAge,
               [](uint8_t* p, int nAge) { WriteI32(p + kTransferReportAgeAt, nAge); });
}

void CSaveGame::AgeLoanOfferReports(int nDays)
{
    AgeReports<CLoanOfferDatabase>(m_lstLoanReports, m_lstLoanOffers, kLoanReportIdAt, nDays, GetLoanReportAge,
               [](uint8_t* p, int nAge) { p[kLoanReportAgeAt] = static_cast<uint8_t>(nAge); });
}
