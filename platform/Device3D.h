#pragma once
// The 3-D device: an offscreen OpenGL 2.1 context through EGL (the GPU when
// there is one, else Mesa's software rasteriser on the surfaceless platform)
// drawing into a frame buffer that is read back into a 16-bit surface. This is
// the only code that calls GL. Matrices are row-vector 4 x 4 (v' = v M),
// projections map depth to 0..1 and the clip volume's y runs over -aspect..aspect,
// as the renderer above it expects; the conversion to GL happens here.
#include "platform/Surface.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat {

struct Matrix4 {
    float m[4][4];
};

enum class DeviceKind { None, Software, Hardware };

// Vertex layout bits: position (3 floats), normal (3), diffuse (ARGB u32),
// specular (u32), one pair of texture coordinates.
constexpr uint32_t VERTEX_XYZ = 0x002;
constexpr uint32_t VERTEX_NORMAL = 0x010;
constexpr uint32_t VERTEX_DIFFUSE = 0x040;
constexpr uint32_t VERTEX_SPECULAR = 0x080;
constexpr uint32_t VERTEX_TEX1 = 0x100;
// Bytes of one vertex of the layout; 0 when the layout has no position.
int vertexStride(uint32_t format);

enum class Primitive { PointList = 1, LineList = 2, LineStrip = 3, TriangleList = 4, TriangleStrip = 5, TriangleFan = 6 };

enum class BlendFactor { Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha, DestColor };
enum class CompareFunc { Never = 1, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };

struct ColorValue {
    float r, g, b, a;
};

struct LightSettings {
    int type = 1;  // 1 point, 2 spot, 3 directional
    ColorValue color{1, 1, 1, 1};
    float position[3]{};
    float direction[3]{0, 0, 1};
    float range = 0;
    float attenuation[3]{1, 0, 0};
    float theta = 0;  // spot inner cone, full angle
    float phi = 0;    // spot outer cone, full angle
};

struct MaterialSettings {
    ColorValue diffuse{1, 1, 1, 1};
    ColorValue ambient{1, 1, 1, 1};
    ColorValue specular{0, 0, 0, 0};
    ColorValue emissive{0, 0, 0, 0};
    float power = 0;
};

class Device3D {
public:
    // Null (with the reason in *why) when no EGL display, no context of GL 2.1
    // or better, or no frame buffer of that size can be made, or when the kind
    // found is not allowed.
    static std::unique_ptr<Device3D> create(int width, int height, bool depthBuffer, bool allowHardware,
                                            bool allowSoftware, std::string* why);
    ~Device3D();
    Device3D(const Device3D&) = delete;
    Device3D& operator=(const Device3D&) = delete;

    DeviceKind kind() const { return m_kind; }
    const std::string& rendererName() const { return m_renderer; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool hasDepthBuffer() const { return m_depth; }

    // Viewport rectangle in target pixels, top-left origin; aspect is the
    // clip volume's height / width.
    void setViewport(const Rect& rect, float aspect);
    // Clears the viewport: colour (ARGB) always, depth to 1.0 when asked.
    void clear(uint32_t argb, bool depth);

    void setWorld(const Matrix4& m);
    void setView(const Matrix4& m);
    void setProjection(const Matrix4& m);

    // Lights are given in world space; they follow later view matrices.
    static constexpr int kMaxLights = 8;
    void setLight(int index, const LightSettings& light);
    void enableLight(int index, bool on);
    void setAmbient(uint32_t argb);
    void setMaterial(const MaterialSettings& material);

    void setFog(bool on, float start, float end, uint32_t argb);
    void setBlend(BlendFactor source, BlendFactor dest);
    void setDepthTest(bool on);
    void setDepthFunc(CompareFunc func);
    // Pixels of alpha 0 are dropped (colour-keyed textures).
    void setAlphaKey(bool on);
    // true: texture times lit colour; false: texture colour alone.
    void setModulate(bool on);

    // RGBA8 images, rows top-down; levels after the first halve each side.
    uint32_t createTexture(int width, int height, const uint8_t* rgba, int levels = 1);
    void updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba);
    void deleteTexture(uint32_t texture);
    // 0 unbinds.
    void bindTexture(uint32_t texture);
    void setTextureWrap(bool wrap);
    void setTextureFilter(bool linear, bool mipLinear);

    // Indexed drawing with the current states; lit only when the layout has a
    // normal and lit is true.
    bool drawIndexed(Primitive type, uint32_t format, const void* vertices, uint32_t vertexCount,
                     const uint16_t* indices, uint32_t indexCount, bool lit);
    bool draw(Primitive type, uint32_t format, const void* vertices, uint32_t vertexCount, bool lit);

    // Copies the viewport's pixels into the same rectangle of the surface, in
    // its own 16-bit layout, each channel truncated as colorToPixel does (no
    // dithering, so the colour key comes back exact).
    bool readBack(Surface& target);

private:
    Device3D() = default;
    void loadModelView();
    void loadProjection();
    void applyLight(int index);
    bool prepareArrays(uint32_t format, const void* vertices, bool lit);

    struct EglState;
    std::unique_ptr<EglState> m_egl;
    DeviceKind m_kind = DeviceKind::None;
    std::string m_renderer;
    int m_width = 0;
    int m_height = 0;
    bool m_depth = false;
    uint32_t m_frameBuffer = 0;
    uint32_t m_colorBuffer = 0;
    uint32_t m_depthBuffer = 0;
    Rect m_viewport;
    float m_aspect = 0.75f;
    Matrix4 m_world{};
    Matrix4 m_view{};
    Matrix4 m_projection{};
    std::unique_ptr<uint8_t[]> m_readRows;
    LightSettings m_lights[kMaxLights];
    bool m_lightSet[kMaxLights] = {};
};

}  // namespace plat
