#include "xframework/CPrintJob.h"

#include "common/DebugLog.h"
#include "platform/Font.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

PrintFolderLookup g_pfnPrintFolder = nullptr;
PrintedNotice g_pfnPrinted = nullptr;

namespace {

constexpr const char* kTitle = "Corravin";
constexpr const char* kFace = "Arial";

// The two printing faces, read once from their files (no font lookup
// service is asked) and kept while the program runs; cairo frees each
// FreeType face with its own font face.
cairo_font_face_t* PrintFace(bool bBold)
{
    static FT_Library s_library = nullptr;
    static cairo_font_face_t* s_apFaces[2] = {};
    static const cairo_user_data_key_t s_key{};
    cairo_font_face_t*& pFace = s_apFaces[bBold ? 1 : 0];
    if (pFace)
        return pFace;
    if (!s_library && FT_Init_FreeType(&s_library) != 0)
        return nullptr;
    const std::string path = plat::fontFile(kFace, bBold);
    FT_Face face = nullptr;
    if (path.empty() || FT_New_Face(s_library, path.c_str(), 0, &face) != 0) {
        DebugLog(0, "[CPrintJob] The printing font %s cannot be read", path.c_str());
        return nullptr;
    }
    pFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    if (cairo_font_face_set_user_data(pFace, &s_key, face,
                                      [](void* p) { FT_Done_Face(static_cast<FT_Face>(p)); }) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(pFace);
        FT_Done_Face(face);
        pFace = nullptr;
    }
    return pFace;
}

struct FontSpec {
    double dSize;
    bool bBold;
    double dLineHeight;
};
constexpr FontSpec kFonts[CPrintJob::kFontCount] = {
    {6.0, false, 10.0}, {6.0, false, 10.0}, {8.0, true, 12.0}, {8.0, false, 12.0}, {6.0, false, 10.0},
};

// A name no earlier printing has taken: "Corravin 1999-08-07 21-04-05.pdf",
// then " (2)" and so on.
std::string NewFileName(const std::filesystem::path& folder)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char szStamp[40];
    std::strftime(szStamp, sizeof szStamp, "%Y-%m-%d %H-%M-%S", &local);
    std::string name = std::string(kTitle) + " " + szStamp;
    std::filesystem::path path = folder / (name + ".pdf");
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec); ++n)
        path = folder / (name + " (" + std::to_string(n) + ").pdf");
    return path.string();
}

}  // namespace

CPrintJob::~CPrintJob()
{
    if (m_pContext)
        cairo_destroy(m_pContext);
    if (m_pSurface)
        cairo_surface_destroy(m_pSurface);
}

bool CPrintJob::Start(int nPageCount, std::string& error)
{
    const std::filesystem::path folder = g_pfnPrintFolder ? g_pfnPrintFolder() : ".";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    m_path = NewFileName(folder);
    m_pSurface = cairo_pdf_surface_create(m_path.c_str(), kPageWidth, kPageHeight);
    if (cairo_surface_status(m_pSurface) != CAIRO_STATUS_SUCCESS) {
        error = "cannot write " + m_path + ": " + cairo_status_to_string(cairo_surface_status(m_pSurface));
        return false;
    }
    cairo_pdf_surface_set_metadata(m_pSurface, CAIRO_PDF_METADATA_TITLE, kTitle);
    m_pContext = cairo_create(m_pSurface);
    m_nPageCount = nPageCount;
    m_nPage = 1;
    Header();
    return true;
}

void CPrintJob::Header()
{
    SelectFont(0);
    const double y = 2 * LineHeight(0) + 8;
    Text(kTitle, kLeftMargin, kRightEdge, y, 0);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char szDate[40];
    std::snprintf(szDate, sizeof szDate, "%02d/%02d/%4d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
    Text(szDate, kLeftMargin, kRightEdge, y, 2);
}

void CPrintJob::Footer()
{
    SelectFont(1);
    char szFooter[32];
    std::snprintf(szFooter, sizeof szFooter, "Page %2d of %2d", m_nPage, m_nPageCount);
    Text(szFooter, 0, kPageWidth, kBottomEdge + LineHeight(1), 6);
}

void CPrintJob::NextPage()
{
    Footer();
    cairo_show_page(m_pContext);
    ++m_nPage;
    Header();
}

bool CPrintJob::Finish(std::string& error)
{
    if (!m_pContext)
        return false;
    Footer();
    cairo_show_page(m_pContext);
    cairo_destroy(m_pContext);
    m_pContext = nullptr;
    cairo_surface_finish(m_pSurface);
    const cairo_status_t status = cairo_surface_status(m_pSurface);
    cairo_surface_destroy(m_pSurface);
    m_pSurface = nullptr;
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "cannot write " + m_path + ": " + cairo_status_to_string(status);
        return false;
    }
    DebugLog(1, "[CPrintJob] Printed %d page(s) to %s", m_nPageCount, m_path.c_str());
    if (g_pfnPrinted)
        g_pfnPrinted(m_path.c_str());
    return true;
}

void CPrintJob::SelectFont(int nFont)
{
    m_nFont = nFont < 0 || nFont >= kFontCount ? 3 : nFont;
    const FontSpec& font = kFonts[m_nFont];
    if (cairo_font_face_t* pFace = PrintFace(font.bBold))
        cairo_set_font_face(m_pContext, pFace);
    cairo_set_font_size(m_pContext, font.dSize);
}

double CPrintJob::LineHeight(int nFont) const
{
    return kFonts[nFont < 0 || nFont >= kFontCount ? 3 : nFont].dLineHeight;
}

int CPrintJob::LinesPerPage() { return static_cast<int>((kBottomEdge - kTopMargin) / kFonts[3].dLineHeight); }

double CPrintJob::TextWidth(const char* pszText) const
{
    cairo_text_extents_t extents{};
    cairo_text_extents(m_pContext, pszText, &extents);
    return extents.x_advance;
}

void CPrintJob::Text(const char* pszText, double dLeft, double dRight, double y, int nAlignment, bool bCut)
{
    if (!pszText || !*pszText)
        return;
    // Texts are in the game's single-byte set; cairo takes UTF-8.
    std::string utf8 = plat::ansiToUtf8(pszText, static_cast<int>(std::strlen(pszText)));
    if (bCut)
        while (!utf8.empty() && TextWidth(utf8.c_str()) > dRight - dLeft) {
            utf8.pop_back();
            while (!utf8.empty() && (static_cast<unsigned char>(utf8.back()) & 0xC0) == 0x80)
                utf8.pop_back();
            if (!utf8.empty() && static_cast<unsigned char>(utf8.back()) >= 0xC0)
                utf8.pop_back();
        }
    const double dWidth = TextWidth(utf8.c_str());
    double x = dLeft;
    if (nAlignment == 2)
        x = dRight - dWidth;
    else if (nAlignment == 6 || nAlignment == 'y')
        x = dLeft + (dRight - dLeft - dWidth) / 2;
    SetColour(0);
    cairo_move_to(m_pContext, x, y);
    cairo_show_text(m_pContext, utf8.c_str());
}

void CPrintJob::SetColour(uint32_t crColour)
{
    cairo_set_source_rgb(m_pContext, (crColour & 0xFF) / 255.0, ((crColour >> 8) & 0xFF) / 255.0,
                         ((crColour >> 16) & 0xFF) / 255.0);
}

void CPrintJob::Frame(double x, double y, double dWidth, double dHeight)
{
    SetColour(0);
    cairo_set_line_width(m_pContext, 0.5);
    cairo_set_dash(m_pContext, nullptr, 0, 0);
    cairo_rectangle(m_pContext, x, y, dWidth, dHeight);
    cairo_stroke(m_pContext);
}

void CPrintJob::Line(double x0, double y0, double x1, double y1, uint32_t crColour, bool bDashed)
{
    SetColour(crColour);
    cairo_set_line_width(m_pContext, 0.5);
    const double adDash[] = {3.0, 2.0};
    cairo_set_dash(m_pContext, bDashed ? adDash : nullptr, bDashed ? 2 : 0, 0);
    cairo_move_to(m_pContext, x0, y0);
    cairo_line_to(m_pContext, x1, y1);
    cairo_stroke(m_pContext);
    cairo_set_dash(m_pContext, nullptr, 0, 0);
}

void CPrintJob::HatchedBar(double x0, double y0, double x1, double y1, uint32_t crColour)
{
    // Hatched for printers without colour; a white series in black, dashed.
    const bool bWhite = (crColour & 0xFFFFFF) == 0xFFFFFF;
    const uint32_t crInk = bWhite ? 0 : crColour;
    cairo_save(m_pContext);
    cairo_rectangle(m_pContext, std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0));
    cairo_clip_preserve(m_pContext);
    SetColour(crInk);
    const double adDash[] = {3.0, 2.0};
    cairo_set_dash(m_pContext, bWhite ? adDash : nullptr, bWhite ? 2 : 0, 0);
    cairo_set_line_width(m_pContext, 0.5);
    cairo_stroke(m_pContext);
    cairo_set_dash(m_pContext, nullptr, 0, 0);
    const double dLeft = std::min(x0, x1), dRight = std::max(x0, x1);
    const double dTop = std::min(y0, y1), dBottom = std::max(y0, y1);
    const double dStep = 4.0;
    if (bWhite) {
        // A cross hatch: upright and level lines.
        for (double x = dLeft; x < dRight; x += dStep) {
            cairo_move_to(m_pContext, x, dTop);
            cairo_line_to(m_pContext, x, dBottom);
        }
        for (double y = dTop; y < dBottom; y += dStep) {
            cairo_move_to(m_pContext, dLeft, y);
            cairo_line_to(m_pContext, dRight, y);
        }
    } else {
        // A diagonal cross.
        const double dHeight = dBottom - dTop;
        for (double x = dLeft - dHeight; x < dRight; x += dStep) {
            cairo_move_to(m_pContext, x, dBottom);
            cairo_line_to(m_pContext, x + dHeight, dTop);
            cairo_move_to(m_pContext, x, dTop);
            cairo_line_to(m_pContext, x + dHeight, dBottom);
        }
    }
    cairo_set_line_width(m_pContext, 0.3);
    cairo_stroke(m_pContext);
    cairo_restore(m_pContext);
}

void CPrintJob::Polyline(const double* pPoints, int nPoints, uint32_t crColour, double dWidth)
{
    if (nPoints < 2)
        return;
    SetColour(crColour);
    cairo_set_line_width(m_pContext, dWidth);
    cairo_move_to(m_pContext, pPoints[0], pPoints[1]);
    for (int i = 1; i < nPoints; ++i)
        cairo_line_to(m_pContext, pPoints[2 * i], pPoints[2 * i + 1]);
    cairo_stroke(m_pContext);
}
