#pragma once
// One printing of a screen's controls: a PDF file of A4 pages (one unit a
// point, 72 to the inch) with a header on every page (the game's title at the
// left, today's date at the right), a footer ("Page %2d of %2d") and the five
// fonts of printed pages; the file goes to the print folder under a new name.
#include <cstdint>
#include <string>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// The folder printed pages go to; the current folder without it.
using PrintFolderLookup = std::string (*)();
extern PrintFolderLookup g_pfnPrintFolder;
// Told the file of every finished printing.
using PrintedNotice = void (*)(const char* pszPath);
extern PrintedNotice g_pfnPrinted;

class CPrintJob {
public:
    static constexpr double kPageWidth = 595.0;
    static constexpr double kPageHeight = 842.0;
    static constexpr double kLeftMargin = 36.0;  // half an inch
    static constexpr double kTopMargin = 72.0;   // an inch
    static constexpr double kRightEdge = kPageWidth - kLeftMargin;
    static constexpr double kBottomEdge = kPageHeight - kTopMargin;
    // 0 header, 1 footer, 2 captions and headings, 3 rows and text, 4 graph labels.
    static constexpr int kFontCount = 5;

    CPrintJob() = default;
    ~CPrintJob();
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;

    // Opens a new file in the print folder and starts page 1; false (with
    // the reason) when the file cannot be made.
    bool Start(int nPageCount, std::string& error);
    // The footer of the page, then a new page with its header.
    void NextPage();
    // The last footer; the file is whole when this answers true.
    bool Finish(std::string& error);

    void SelectFont(int nFont);
    double LineHeight(int nFont) const;
    static int LinesPerPage();
    // Text with its baseline at y: alignment 0 from the left, 2 ending at the
    // right, 6 centred between left and right; cut to fit when asked.
    void Text(const char* pszText, double dLeft, double dRight, double y, int nAlignment, bool bCut = true);
    double TextWidth(const char* pszText) const;
    void Frame(double x, double y, double dWidth, double dHeight);
    void Line(double x0, double y0, double x1, double y1, uint32_t crColour, bool bDashed);
    void HatchedBar(double x0, double y0, double x1, double y1, uint32_t crColour);
    void Polyline(const double* pPoints, int nPoints, uint32_t crColour, double dWidth);

    int Page() const { return m_nPage; }
    int PageCount() const { return m_nPageCount; }
    const std::string& Path() const { return m_path; }

private:
    void Header();
    void Footer();
    void SetColour(uint32_t crColour);

    cairo_surface_t* m_pSurface = nullptr;
    cairo_t* m_pContext = nullptr;
    std::string m_path;
    int m_nPage = 0;
    int m_nPageCount = 0;
    int m_nFont = 0;
};
