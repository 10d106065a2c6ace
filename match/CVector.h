#pragma once
// The integer 3-vector of every match position (cm), velocity (cm/s) and
// acceleration (cm/s²), and the few float vector and matrix builders the ball
// and the scene need. Pitch: x 0..10000 between the goal lines, y 0..7500
// between the touch lines, z up. Angles are radians from +y towards +x.
#include "render3d/RenderTypes.h"

#include <cstdint>

// A double truncated towards zero into an int32; values beyond the range are
// held at its ends and a NaN gives 0, so no conversion is ever undefined.
int32_t TruncateToInt(double value);

class CVector {
public:
    int32_t x = 0, y = 0, z = 0;

    CVector() = default;
    CVector(int32_t nX, int32_t nY, int32_t nZ) : x(nX), y(nY), z(nZ) {}

    bool operator==(const CVector&) const = default;

    void Set(int32_t nX, int32_t nY, int32_t nZ);
    void Copy(const CVector& v);
    // Component-wise arithmetic wraps as 32-bit two's-complement integers.
    CVector& Add(const CVector& v, CVector& out) const;
    CVector& AddTo(const CVector& v, CVector& out);
    CVector& Subtract(const CVector& v, CVector& out) const;
    CVector& Multiply(int32_t n, CVector& out) const;
    // Integer division truncating towards zero; n = 0 leaves out unchanged.
    CVector& Divide(int32_t n, CVector& out) const;
    // Float factors: each product is formed in double precision and truncated.
    CVector& Scale(float f, CVector& out) const;
    CVector& ScaleBy(float f, CVector& out);
    CVector& DivideByFloat(float f, CVector& out) const;
    // Each square is taken in 32 bits and negated when it overflowed negative;
    // the sum wraps. No overflow happens for distances below 46340 cm.
    int32_t SquaredLength() const;
    int32_t SquaredDistance2D(const CVector& v) const;
    void SetFromAngle(float fAngle, int32_t nLength);
    // Heading from this point to v, in (-pi, pi].
    double GetAngleTo(const CVector& v) const;
    double GetAngleFrom(const CVector& v) const;

    // Value-returning forms for expressions.
    CVector operator+(const CVector& v) const;
    CVector operator-(const CVector& v) const;
    D3DVECTOR ToFloat() const { return {float(x), float(y), float(z)}; }
};

// Truncated square root of a non-negative squared length (0 for negatives).
int32_t IntegerRoot(int64_t nSquared);
// The horizontal length of (dx, dy) as a truncated integer.
int32_t HorizontalLength(const CVector& v);

D3DVECTOR* VectorAdd(D3DVECTOR* pOut, const D3DVECTOR* pA, const D3DVECTOR* pB);
// out = a x b; out may be a or b.
D3DMATRIX* MatrixMultiply(D3DMATRIX* pOut, const D3DMATRIX* pA, const D3DMATRIX* pB);
// A model facing +y then faces heading a.
D3DMATRIX* MatrixRotationZ(D3DMATRIX* pOut, float fAngle);
D3DMATRIX* MatrixTranslation(D3DMATRIX* pOut, const D3DVECTOR& v);
D3DMATRIX* MatrixScaling(D3DMATRIX* pOut, float fScale);
// An angle difference wrapped into -pi..pi.
double WrapAngle(double fAngle);
