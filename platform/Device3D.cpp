#include "platform/Device3D.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace plat {

struct Device3D::EglState {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
};

int vertexStride(uint32_t format)
{
    if (!(format & VERTEX_XYZ))
        return 0;
    int bytes = 12;
    if (format & VERTEX_NORMAL)
        bytes += 12;
    if (format & VERTEX_DIFFUSE)
        bytes += 4;
    if (format & VERTEX_SPECULAR)
        bytes += 4;
    if (format & VERTEX_TEX1)
        bytes += 8;
    return bytes;
}

namespace {

EGLDisplay openDisplay()
{
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (clientExtensions && std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        auto getPlatformDisplay =
            reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay) {
            EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
            if (display != EGL_NO_DISPLAY)
                return display;
        }
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

// The display is opened once and kept for the life of the process: the
// driver is then loaded once, however often devices come and go.
EGLDisplay sharedDisplay()
{
    static EGLDisplay display = [] {
        EGLDisplay d = openDisplay();
        if (d != EGL_NO_DISPLAY && !eglInitialize(d, nullptr, nullptr))
            d = EGL_NO_DISPLAY;
        return d;
    }();
    return display;
}

bool softwareRenderer(const std::string& name)
{
    return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos ||
           name.find("Software") != std::string::npos;
}

GLenum glFactor(BlendFactor f)
{
    switch (f) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcColor: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestColor: return GL_DST_COLOR;
    }
    return GL_ONE;
}

GLenum glPrimitive(Primitive p)
{
    switch (p) {
    case Primitive::PointList: return GL_POINTS;
    case Primitive::LineList: return GL_LINES;
    case Primitive::LineStrip: return GL_LINE_STRIP;
    case Primitive::TriangleList: return GL_TRIANGLES;
    case Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
    case Primitive::TriangleFan: return GL_TRIANGLE_FAN;
    }
    return GL_TRIANGLES;
}

void argbToFloats(uint32_t argb, float out[4])
{
    out[0] = ((argb >> 16) & 0xFF) / 255.0f;
    out[1] = ((argb >> 8) & 0xFF) / 255.0f;
    out[2] = (argb & 0xFF) / 255.0f;
    out[3] = ((argb >> 24) & 0xFF) / 255.0f;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}

Matrix4 identity()
{
    Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        r.m[i][i] = 1.0f;
    return r;
}

}  // namespace

std::unique_ptr<Device3D> Device3D::create(int width, int height, bool depthBuffer, bool allowHardware,
                                           bool allowSoftware, std::string* why)
{
    auto fail = [why](const std::string& reason) {
        if (why)
            *why = reason;
        return std::unique_ptr<Device3D>();
    };
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192)
        return fail("bad target size");
    std::unique_ptr<Device3D> device(new Device3D());
    device->m_egl = std::make_unique<EglState>();
    EglState& egl = *device->m_egl;
    egl.display = sharedDisplay();
    if (egl.display == EGL_NO_DISPLAY)
        return fail("no EGL display, or EGL does not initialise");
    if (!eglBindAPI(EGL_OPENGL_API))
        return fail("no desktop OpenGL through EGL");
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(egl.display, configAttributes, &config, 1, &configCount) || configCount < 1)
        config = nullptr;  // a context without a config still draws into frame buffers
    egl.context = eglCreateContext(egl.display, config, EGL_NO_CONTEXT, nullptr);
    if (egl.context == EGL_NO_CONTEXT)
        return fail("no OpenGL context");
    if (!eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl.context))
        return fail("the context cannot be made current without a surface");

    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major * 10 + minor < 21)
        return fail(std::string("OpenGL 2.1 or later needed, found ") + (version ? version : "none"));
    device->m_renderer = renderer ? renderer : "";
    device->m_kind = softwareRenderer(device->m_renderer) ? DeviceKind::Software : DeviceKind::Hardware;
    if ((device->m_kind == DeviceKind::Hardware && !allowHardware) ||
        (device->m_kind == DeviceKind::Software && !allowSoftware))
        return fail("the only renderer found (" + device->m_renderer + ") is not allowed");

    device->m_width = width;
    device->m_height = height;
    device->m_depth = depthBuffer;
    glGenFramebuffers(1, &device->m_frameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, device->m_frameBuffer);
    glGenRenderbuffers(1, &device->m_colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, device->m_colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, device->m_colorBuffer);
    if (depthBuffer) {
        glGenRenderbuffers(1, &device->m_depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, device->m_depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, device->m_depthBuffer);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return fail("the frame buffer is incomplete");
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);

    // Fixed states: no dithering so that flat colours read back exactly; the
    // back faces of clockwise-on-screen triangles are culled.
    glDisable(GL_DITHER);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_NORMALIZE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glAlphaFunc(GL_GREATER, 0.5f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (depthBuffer) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    }
    device->m_world = device->m_view = device->m_projection = identity();
    device->setViewport(Rect{0, 0, width, height}, static_cast<float>(height) / static_cast<float>(width));
    device->m_readRows.reset(new uint8_t[static_cast<size_t>(width) * height * 4]);
    return device;
}

Device3D::~Device3D()
{
    if (!m_egl)
        return;
    if (m_egl->context != EGL_NO_CONTEXT) {
        if (m_frameBuffer) {
            glDeleteFramebuffers(1, &m_frameBuffer);
            glDeleteRenderbuffers(1, &m_colorBuffer);
            if (m_depthBuffer)
                glDeleteRenderbuffers(1, &m_depthBuffer);
        }
        eglMakeCurrent(m_egl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(m_egl->display, m_egl->context);
    }
}

void Device3D::setViewport(const Rect& rect, float aspect)
{
    m_viewport = rect;
    m_aspect = aspect > 0 ? aspect : 0.75f;
    // GL counts rows from the bottom; the read-back turns the picture over.
    glViewport(rect.left, m_height - rect.bottom, rect.width(), rect.height());
    glScissor(rect.left, m_height - rect.bottom, rect.width(), rect.height());
    loadProjection();
}

void Device3D::clear(uint32_t argb, bool depth)
{
    float c[4];
    argbToFloats(argb, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glEnable(GL_SCISSOR_TEST);
    GLbitfield bits = GL_COLOR_BUFFER_BIT;
    if (depth && m_depth) {
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(bits);
    glDisable(GL_SCISSOR_TEST);
}

void Device3D::setWorld(const Matrix4& m)
{
    m_world = m;
    loadModelView();
}

void Device3D::setView(const Matrix4& m)
{
    m_view = m;
    loadModelView();
    for (int i = 0; i < kMaxLights; ++i)
        if (m_lightSet[i])
            applyLight(i);
}

void Device3D::setProjection(const Matrix4& m)
{
    m_projection = m;
    loadProjection();
}

void Device3D::loadModelView()
{
    // A row-vector matrix laid out row by row is the column-major form of the
    // same transform for column vectors, so it loads unchanged.
    Matrix4 mv = multiply(m_world, m_view);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&mv.m[0][0]);
}

void Device3D::loadProjection()
{
    // Depth 0..1 becomes GL's -1..1, and the clip volume's y range of
    // -aspect..aspect becomes -1..1.
    Matrix4 fix = identity();
    fix.m[1][1] = 1.0f / m_aspect;
    fix.m[2][2] = 2.0f;
    fix.m[3][2] = -1.0f;
    fix.m[2][3] = 0.0f;
    // z' = 2z - w: with row vectors, column 2 gets 2 * (z column) - (w column).
    Matrix4 p = m_projection;
    Matrix4 r = p;
    for (int i = 0; i < 4; ++i) {
        r.m[i][1] = p.m[i][1] * fix.m[1][1];
        r.m[i][2] = 2.0f * p.m[i][2] - p.m[i][3];
    }
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&r.m[0][0]);
    glMatrixMode(GL_MODELVIEW);
}

void Device3D::setLight(int index, const LightSettings& light)
{
    if (index < 0 || index >= kMaxLights)
        return;
    m_lights[index] = light;
    m_lightSet[index] = true;
    applyLight(index);
}

void Device3D::applyLight(int index)
{
    const LightSettings& light = m_lights[index];
    const GLenum id = GL_LIGHT0 + index;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(&m_view.m[0][0]);
    const float color[4] = {light.color.r, light.color.g, light.color.b, light.color.a};
    const float black[4] = {0, 0, 0, 1};
    glLightfv(id, GL_DIFFUSE, color);
    glLightfv(id, GL_SPECULAR, color);
    glLightfv(id, GL_AMBIENT, black);
    if (light.type == 3) {
        // Towards the light, the opposite of the direction it shines.
        const float toward[4] = {-light.direction[0], -light.direction[1], -light.direction[2], 0};
        glLightfv(id, GL_POSITION, toward);
        glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        glLightf(id, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(id, GL_LINEAR_ATTENUATION, 0.0f);
        glLightf(id, GL_QUADRATIC_ATTENUATION, 0.0f);
    } else {
        const float position[4] = {light.position[0], light.position[1], light.position[2], 1};
        glLightfv(id, GL_POSITION, position);
        glLightf(id, GL_CONSTANT_ATTENUATION, light.attenuation[0]);
        glLightf(id, GL_LINEAR_ATTENUATION, light.attenuation[1]);
        glLightf(id, GL_QUADRATIC_ATTENUATION, light.attenuation[2]);
        if (light.type == 2) {
            glLightfv(id, GL_SPOT_DIRECTION, light.direction);
            float cutoff = light.phi * 0.5f * 57.29578f;
            glLightf(id, GL_SPOT_CUTOFF, cutoff > 90.0f ? 90.0f : cutoff);
            glLightf(id, GL_SPOT_EXPONENT, 1.0f);
        } else {
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        }
    }
    glPopMatrix();
}

void Device3D::enableLight(int index, bool on)
{
    if (index < 0 || index >= 8)
        return;
    if (on)
        glEnable(GL_LIGHT0 + index);
    else
        glDisable(GL_LIGHT0 + index);
}

void Device3D::setAmbient(uint32_t argb)
{
    float c[4];
    argbToFloats(argb, c);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
}

void Device3D::setMaterial(const MaterialSettings& material)
{
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &material.diffuse.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &material.ambient.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &material.specular.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &material.emissive.r);
    float shininess = material.power < 0 ? 0 : (material.power > 128 ? 128 : material.power);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}

void Device3D::setFog(bool on, float start, float end, uint32_t argb)
{
    if (!on) {
        glDisable(GL_FOG);
        return;
    }
    float c[4];
    argbToFloats(argb, c);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glFogfv(GL_FOG_COLOR, c);
    glEnable(GL_FOG);
}

void Device3D::setBlend(BlendFactor source, BlendFactor dest)
{
    glBlendFunc(glFactor(source), glFactor(dest));
}

void Device3D::setDepthTest(bool on)
{
    if (on && m_depth)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
}

void Device3D::setDepthFunc(CompareFunc func)
{
    static const GLenum funcs[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    int i = static_cast<int>(func) - 1;
    if (i >= 0 && i < 8)
        glDepthFunc(funcs[i]);
}

void Device3D::setAlphaKey(bool on)
{
    if (on)
        glEnable(GL_ALPHA_TEST);
    else
        glDisable(GL_ALPHA_TEST);
}

void Device3D::setModulate(bool on)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, on ? GL_MODULATE : GL_REPLACE);
}

uint32_t Device3D::createTexture(int width, int height, const uint8_t* rgba, int levels)
{
    if (width <= 0 || height <= 0 || !rgba || levels < 1)
        return 0;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const uint8_t* level = rgba;
    int w = width, h = height;
    for (int i = 0; i < levels; ++i) {
        glTexImage2D(GL_TEXTURE_2D, i, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, level);
        level += static_cast<size_t>(w) * h * 4;
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    return texture;
}

void Device3D::updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba)
{
    if (!texture || !rgba)
        return;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

void Device3D::deleteTexture(uint32_t texture)
{
    if (texture) {
        GLuint t = texture;
        glDeleteTextures(1, &t);
    }
}

void Device3D::bindTexture(uint32_t texture)
{
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
    } else {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }
}

void Device3D::setTextureWrap(bool wrap)
{
    const GLint mode = wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

void Device3D::setTextureFilter(bool linear, bool mipLinear)
{
    GLint minFilter;
    if (mipLinear)
        minFilter = linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    else
        minFilter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, linear ? GL_LINEAR : GL_NEAREST);
}

bool Device3D::prepareArrays(uint32_t format, const void* vertices, bool lit)
{
    const int stride = vertexStride(format);
    if (!stride || !vertices)
        return false;
    const uint8_t* base = static_cast<const uint8_t*>(vertices);
    int offset = 0;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, base);
    offset += 12;
    if (format & VERTEX_NORMAL) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, base + offset);
        offset += 12;
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (format & VERTEX_DIFFUSE) {
        // ARGB in a little-endian word is B, G, R, A in memory.
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, stride, base + offset);
        offset += 4;
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);
    }
    if (format & VERTEX_SPECULAR)
        offset += 4;
    if (format & VERTEX_TEX1) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, base + offset);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (lit && (format & VERTEX_NORMAL))
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    return true;
}

bool Device3D::drawIndexed(Primitive type, uint32_t format, const void* vertices, uint32_t vertexCount,
                           const uint16_t* indices, uint32_t indexCount, bool lit)
{
    if (!indices || !vertexCount || !indexCount)
        return false;
    for (uint32_t i = 0; i < indexCount; ++i)
        if (indices[i] >= vertexCount)
            return false;
    if (!prepareArrays(format, vertices, lit))
        return false;
    glDrawElements(glPrimitive(type), static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, indices);
    return glGetError() == GL_NO_ERROR;
}

bool Device3D::draw(Primitive type, uint32_t format, const void* vertices, uint32_t vertexCount, bool lit)
{
    if (!vertexCount || !prepareArrays(format, vertices, lit))
        return false;
    glDrawArrays(glPrimitive(type), 0, static_cast<GLsizei>(vertexCount));
    return glGetError() == GL_NO_ERROR;
}

bool Device3D::readBack(Surface& target)
{
    Rect r = m_viewport;
    if (r.left < 0 || r.top < 0 || r.right > target.width() || r.bottom > target.height() || r.width() <= 0 ||
        r.height() <= 0 || r.right > m_width || r.bottom > m_height)
        return false;
    // Read as bytes and packed here the way the 2-D layer packs a colour (each
    // channel truncated), so a colour drawn in 3-D and the same colour drawn in
    // 2-D give the same pixel, the colour key included.
    glReadPixels(r.left, m_height - r.bottom, r.width(), r.height(), GL_RGBA, GL_UNSIGNED_BYTE, m_readRows.get());
    if (glGetError() != GL_NO_ERROR)
        return false;
    int pitch = 0;
    uint16_t* pixels = target.lock(&pitch);
    if (!pixels)
        return false;
    const bool is555 = target.format() == PixelFormat::Rgb555;
    const int w = r.width();
    for (int y = 0; y < r.height(); ++y) {
        const uint8_t* src = m_readRows.get() + static_cast<size_t>(r.height() - 1 - y) * w * 4;
        uint16_t* dst = reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels) +
                                                    static_cast<size_t>(r.top + y) * pitch) + r.left;
        for (int x = 0; x < w; ++x, src += 4) {
            if (is555)
                dst[x] = static_cast<uint16_t>(((src[0] >> 3) << 10) | ((src[1] >> 3) << 5) | (src[2] >> 3));
            else
                dst[x] = static_cast<uint16_t>(((src[0] >> 3) << 11) | ((src[1] >> 2) << 5) | (src[2] >> 3));
        }
    }
    target.unlock();
    return true;
}

}  // namespace plat
