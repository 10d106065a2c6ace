#include "match/CVector.h"

#include "render3d/VertexTransform.h"

#include <cmath>
#include <limits>

int32_t TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

namespace {

int32_t Wrap(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// One square in 32 bits; a square that overflowed negative is negated.
int32_t Square32(int32_t n)
{
    int32_t nSquare = Wrap(int64_t(n) * n);
    return nSquare < 0 ? Wrap(-int64_t(nSquare)) : nSquare;
}

int32_t WrapSum(int32_t a, int32_t b, int32_t c = 0)
{
    return Wrap(int64_t(a) + b + c);
}

}  // namespace

void CVector::Set(int32_t nX, int32_t nY, int32_t nZ)
{
    x = nX;
    y = nY;
    z = nZ;
}

void CVector::Copy(const CVector& v)
{
    *this = v;
}

CVector& CVector::Add(const CVector& v, CVector& out) const
{
    out.Set(WrapSum(x, v.x), WrapSum(y, v.y), WrapSum(z, v.z));
    return out;
}

CVector& CVector::AddTo(const CVector& v, CVector& out)
{
    Add(v, *this);
    out = *this;
    return out;
}

CVector& CVector::Subtract(const CVector& v, CVector& out) const
{
    out.Set(Wrap(int64_t(x) - v.x), Wrap(int64_t(y) - v.y), Wrap(int64_t(z) - v.z));
    return out;
}

CVector& CVector::Multiply(int32_t n, CVector& out) const
{
    out.Set(Wrap(int64_t(x) * n), Wrap(int64_t(y) * n), Wrap(int64_t(z) * n));
    return out;
}

CVector& CVector::Divide(int32_t n, CVector& out) const
{
    if (n == 0)
        return out;
    out.Set(Wrap(int64_t(x) / n), Wrap(int64_t(y) / n), Wrap(int64_t(z) / n));
    return out;
}

CVector& CVector::Scale(float f, CVector& out) const
{
    const double factor = f;
    out.Set(TruncateToInt(x * factor), TruncateToInt(y * factor), TruncateToInt(z * factor));
    return out;
}

CVector& CVector::ScaleBy(float f, CVector& out)
{
    Scale(f, *this);
    out = *this;
    return out;
}

CVector& CVector::DivideByFloat(float f, CVector& out) const
{
    const double divisor = f;
    out.Set(TruncateToInt(x / divisor), TruncateToInt(y / divisor), TruncateToInt(z / divisor));
    return out;
}

int32_t CVector::SquaredLength() const
{
    return WrapSum(Square32(x), Square32(y), Square32(z));
}

int32_t CVector::SquaredDistance2D(const CVector& v) const
{
    return WrapSum(Square32(Wrap(int64_t(v.x) - x)), Square32(Wrap(int64_t(v.y) - y)));
}

void CVector::SetFromAngle(float fAngle, int32_t nLength)
{
    const double angle = fAngle;
    x = TruncateToInt(std::sin(angle) * nLength);
    y = TruncateToInt(std::cos(angle) * nLength);
    z = 0;
}

double CVector::GetAngleTo(const CVector& v) const
{
    return std::atan2(double(v.x) - x, double(v.y) - y);
}

double CVector::GetAngleFrom(const CVector& v) const
{
    return std::atan2(double(x) - v.x, double(y) - v.y);
}

CVector CVector::operator+(const CVector& v) const
{
    CVector out;
    return Add(v, out);
}

CVector CVector::operator-(const CVector& v) const
{
    CVector out;
    return Subtract(v, out);
}

int32_t IntegerRoot(int64_t nSquared)
{
    return nSquared <= 0 ? 0 : TruncateToInt(std::sqrt(double(nSquared)));
}

int32_t HorizontalLength(const CVector& v)
{
    return IntegerRoot(int64_t(v.x) * v.x + int64_t(v.y) * v.y);
}

D3DVECTOR* VectorAdd(D3DVECTOR* pOut, const D3DVECTOR* pA, const D3DVECTOR* pB)
{
    *pOut = {pA->x + pB->x, pA->y + pB->y, pA->z + pB->z};
    return pOut;
}

D3DMATRIX* MatrixMultiply(D3DMATRIX* pOut, const D3DMATRIX* pA, const D3DMATRIX* pB)
{
    *pOut = MultiplyMatrices(*pA, *pB);
    return pOut;
}

D3DMATRIX* MatrixRotationZ(D3DMATRIX* pOut, float fAngle)
{
    *pOut = IdentityMatrix();
    const float c = std::cos(fAngle), s = std::sin(fAngle);
    pOut->m[0][0] = c;
    pOut->m[0][1] = -s;
    pOut->m[1][0] = s;
    pOut->m[1][1] = c;
    return pOut;
}

D3DMATRIX* MatrixTranslation(D3DMATRIX* pOut, const D3DVECTOR& v)
{
    *pOut = IdentityMatrix();
    pOut->m[3][0] = v.x;
    pOut->m[3][1] = v.y;
    pOut->m[3][2] = v.z;
    return pOut;
}

D3DMATRIX* MatrixScaling(D3DMATRIX* pOut, float fScale)
{
    *pOut = IdentityMatrix();
    pOut->m[0][0] = pOut->m[1][1] = pOut->m[2][2] = fScale;
    return pOut;
}

double WrapAngle(double fAngle)
{
    constexpr double kPi = 3.14159265358979323846;
    if (!std::isfinite(fAngle))
        return 0.0;
    fAngle = std::fmod(fAngle, 2.0 * kPi);
    if (fAngle > kPi)
        fAngle -= 2.0 * kPi;
    else if (fAngle < -kPi)
        fAngle += 2.0 * kPi;
    return fAngle;
}
