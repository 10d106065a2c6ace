// The club's lines against the opponents' play: its offside line, how free
// a path is of its players (the clearance of a run) and the chance that a
// pass or a shot along it is cut out or blocked.
#include "match/CMatchClub.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"

#include <algorithm>
#include <cmath>

void CMatchClub::UpdateOffsideLine()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    const CMatchPlayer* pLast = GetLastDefender();
    if (!pBall || !pLast)
        return;
    const int32_t b = pBall->GetPosition().x, L = pLast->GetPosition().x;
    if (m_bAttacksHighEnd) {
        const int32_t nLine = std::min(b, L);
        m_nOffsideLine = nLine >= 5000 ? 5000 : nLine < 1 ? 0 : nLine;
    } else {
        const int32_t nLine = std::max(b, L);
        m_nOffsideLine = nLine >= PITCH_LENGTH ? PITCH_LENGTH : nLine < 5001 ? 5000 : nLine;
    }
}

int CMatchClub::GetPathClearance(const CVector& a, const CVector& b) const
{
    int nPenalty = 0;
    for (int i = 0; i < m_nOnPitch; ++i) {
        const CMatchPlayer* p = GetSlot(i);
        if (!p)
            continue;
        const int32_t h = CMatchEngine::GetDistanceToPath(p->GetPosition(), a, b);
        if (h < 500)
            nPenalty += (500 - h) / 5;
    }
    return nPenalty > 100 ? 0 : 100 - nPenalty;
}

int CMatchClub::GetInterceptRating(const CVector& a, const CVector& b, int32_t nSpeed, int nBase,
                                   bool bPass) const
{
    nSpeed = nSpeed < 1 ? 1 : nSpeed;
    const int64_t c = int64_t(b.x) - a.x, d = int64_t(b.y) - a.y;
    const double fLength = std::sqrt(double(c * c + d * d));
    int nSum = 0;
    for (int i = 0; i < m_nOnPitch; ++i) {
        const CMatchPlayer* p = GetSlot(i);
        if (!p)
            continue;
        const CVector& pos = p->GetPosition();
        CVector meet = a;
        if (c != 0 || d != 0) {
            const int64_t pa = int64_t(pos.x) - a.x, pb = int64_t(pos.y) - a.y;
            if (c * pa + d * pb < 0) {
                // Behind the kicker: a pass passes him by, but a man at the
                // kicker's foot can still get a toe to it as it is struck.
                if (!bPass)
                    continue;
            } else if ((int64_t(b.x) - pos.x) * c + (int64_t(b.y) - pos.y) * d < 0) {
                if (!bPass)
                    continue;
                meet = b;
            } else {
                const int32_t h = CMatchEngine::GetDistanceToPath(pos, a, b);
                const double fAlong = std::sqrt(std::max(0.0, double(pa * pa + pb * pb) - double(h) * h));
                meet.x = a.x + TruncateToInt(c / fLength * fAlong);
                meet.y = a.y + TruncateToInt(d / fLength * fAlong);
            }
        }
        const int32_t r = IntegerRoot(pos.SquaredDistance2D(meet));
        const int32_t s = IntegerRoot(meet.SquaredDistance2D(a));
        const int32_t nReach = r < 200 ? 150 * r * 2 / 600 : 150 * 200 / 600 + 150 * r / 600;
        const int64_t nContribution = nBase - nReach + int64_t(s) * 100 / nSpeed;
        if (nContribution > 0) {
            if (nSum + nContribution >= 100)
                return 100;
            nSum += int(nContribution);
        }
    }
    return nSum;
}

int CMatchClub::GetPassInterceptRating(const CVector& a, const CVector& b, int32_t nSpeed) const
{
    return GetInterceptRating(a, b, nSpeed, 100, true);
}

int CMatchClub::GetShotBlockRating(const CVector& a, const CVector& b, int32_t nSpeed) const
{
    return GetInterceptRating(a, b, nSpeed, 50, false);
}
