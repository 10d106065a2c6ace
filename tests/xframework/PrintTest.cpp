// Printing a screen's controls: PDF files whose page count follows the rows,
// with the caption and headings again on every page, a chart on a page of its
// own, nothing for hidden controls, and a refusal the screen hears of.
#include "xframework/CPrintJob.h"
#include "xframework/CXClient.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXTreeView.h"

#include "platform/Font.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

class PrintScreen : public CXClient {
public:
    PrintScreen() { SetClientRect(0, 0, 400, 300); }
    void OnPrintError(int nCode) override { errors.push_back(nCode); }
    std::vector<int> errors;
};

constexpr uint32_t kList = 50, kTree = 60, kGraph = 70, kPlain = 80;
const LISTCOLUMN kColumns[] = {
    {0, 120, 2, 0, 0, 0, 901, LISTSORT_TEXT, 0},
    {120, 200, 2, 0, 2, 0, 902, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

fs::path s_folder;

struct PdfFile {
    std::string bytes;
    // The page count of the document's page tree.
    int Pages() const
    {
        std::smatch match;
        const std::regex count(R"(/Type /Pages[^>]*?/Count (\d+))");
        return std::regex_search(bytes, match, count) ? std::stoi(match[1]) : -1;
    }
};

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-print-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        s_folder = fs::path(pattern) / "Printed pages";
        g_pfnPrintFolder = [] { return s_folder.string(); };
        g_pfnPrinted = [](const char* pszPath) { s_printed.push_back(pszPath); };
        s_printed.clear();
        m_pFont.reset(plat::Font::create(14, 400, "Arial"));
        m_screen.m_pBackground = new CXSurface;
        ASSERT_NE(m_screen.m_pBackground->Create(400, 300, false, false), nullptr);
        m_screen.OnInitDialog();
        m_pList = static_cast<CXListBox*>(m_screen.AddControl(XCONTROL_LISTBOX, 20, 40, 220, 200, kList, nullptr));
        m_pList->SetUp(16, 0, m_pFont.get(), 0, true, nullptr, true, nullptr, false, 1, false, false, false);
        m_pList->SetUpColumns(20, 40, 220, 200, kColumns, false, false, 80, false);
        m_pTree = static_cast<CXTreeView*>(m_screen.AddControl(XCONTROL_TREEVIEW, 230, 40, 390, 200, kTree, nullptr));
        m_pTree->SetUp(16, 2, m_pFont.get(), 0, 1, nullptr, 0, 0, nullptr);
        m_pGraph = static_cast<CXGraph*>(m_screen.AddControl(XCONTROL_GRAPH, 20, 210, 220, 290, kGraph, nullptr));
        m_pGraph->SetUp(GRAPH_LEFT_AUTOMATIC, 0xFFFFFF, 0xFFFFFF, 20.0, 0, 0);
        m_pGraph->SetXAxis(4, 1, 1, 4);
        m_pGraph->SetUpLine(0, 0, 2, 0x0000FF, GRAPH_BARS, true, false, 20.0, 0);
        m_pGraph->SetUpLine(0, 1, 2, 0xFFFFFF, GRAPH_BARS, true, false, 20.0, 0);
        m_pGraph->SetUpLine(0, 2, 2, 0x00FF00, GRAPH_LINE, true, false, 20.0, 0);
        for (double d : {3.0, 9.0, 5.0, 7.0}) {
            m_pGraph->AddValue(0, d * 1000);
            m_pGraph->AddValue(1, d * 700);
            m_pGraph->AddValue(2, d * 900);
        }
        m_pPlain = static_cast<CXListBox*>(m_screen.AddControl(XCONTROL_LISTBOX, 240, 210, 390, 290, kPlain, nullptr));
        m_pPlain->SetUp(16, 0, m_pFont.get(), 0, true, nullptr, false, nullptr, false, 1, false, false, false);
        m_pPlain->AppendRow("A plain text list runs on, word after word, within its frame.", 0xFFFFFF, nullptr, 0);
        for (CXControl* pControl : {static_cast<CXControl*>(m_pList), static_cast<CXControl*>(m_pTree),
                                    static_cast<CXControl*>(m_pGraph), static_cast<CXControl*>(m_pPlain)})
            pControl->Show(true, false);
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnPrintFolder = nullptr;
        g_pfnPrinted = nullptr;
        std::error_code ec;
        if (!std::getenv("BRELLOX_KEEP_TEST_FOLDER"))
            fs::remove_all(s_folder.parent_path(), ec);
    }
    void FillList(int nRows)
    {
        for (int i = 0; i < nRows; ++i)
            m_pList->AppendRow(("Player " + std::to_string(i) + "\t" + std::to_string(1000 * i)).c_str(), 0xFFFFFF,
                               nullptr, 0);
    }
    PdfFile LastPrinted() const
    {
        EXPECT_FALSE(s_printed.empty());
        if (s_printed.empty())
            return {};
        std::ifstream in(s_printed.back(), std::ios::binary);
        return {std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
    }

    static std::vector<std::string> s_printed;
    std::unique_ptr<plat::Font> m_pFont;
    PrintScreen m_screen;
    CXListBox* m_pList = nullptr;
    CXTreeView* m_pTree = nullptr;
    CXGraph* m_pGraph = nullptr;
    CXListBox* m_pPlain = nullptr;
};
std::vector<std::string> Printing::s_printed;

TEST_F(Printing, AListPrintsAsManyPagesAsItsRowsAndHeadingsTake)
{
    const int nPerPage = CPrintJob::LinesPerPage();
    // Rows, pages: a full page of rows spills onto a second one because the
    // caption and the headings take two lines of every page.
    const std::pair<int, int> cases[] = {{1, 1}, {nPerPage - 2, 1}, {nPerPage, 2}, {3 * nPerPage, 4}};
    int nDone = 0;
    for (const auto& [nRows, nPages] : cases) {
        m_pList->ResetContent();
        FillList(nRows);
        ASSERT_TRUE(m_screen.PrintControl(kList)) << nRows;
        ASSERT_EQ(s_printed.size(), static_cast<size_t>(++nDone));
        const PdfFile pdf = LastPrinted();
        EXPECT_EQ(pdf.bytes.rfind("%PDF-", 0), 0u) << nRows;
        EXPECT_NE(pdf.bytes.find("%%EOF"), std::string::npos) << nRows;
        EXPECT_EQ(pdf.Pages(), nPages) << nRows << " rows";
        EXPECT_EQ(fs::path(s_printed.back()).parent_path(), s_folder);
    }
}

TEST_F(Printing, AllControlsShareOnePageCountAndAChartTakesItsOwnPage)
{
    FillList(30);
    const int a = m_pTree->AddItem(-1, 0xFFFFFF, nullptr, "%s", "Finance");
    for (int i = 0; i < 20; ++i)
        m_pTree->AddItem(a, 0xFFFFFF, nullptr, "Month %d\t%d", i, i * 100);
    ASSERT_TRUE(m_screen.PrintAllControls());
    // 32 + 23 + 3 lines fit on one page at 58 lines; the chart takes a second.
    const int nPerPage = CPrintJob::LinesPerPage();
    const int nExpected = (32 + 23 + 3 + nPerPage - 1) / nPerPage + 1;
    EXPECT_EQ(LastPrinted().Pages(), nExpected);

    ASSERT_TRUE(m_screen.PrintControl(kGraph));
    EXPECT_EQ(LastPrinted().Pages(), 1);
    ASSERT_TRUE(m_screen.PrintControl(kTree));
    EXPECT_EQ(LastPrinted().Pages(), 1);
    EXPECT_TRUE(m_screen.errors.empty());
}

TEST_F(Printing, HiddenOrMissingControlsPrintNothing)
{
    FillList(5);
    m_pList->Show(false, false);
    EXPECT_FALSE(m_screen.PrintControl(kList));
    EXPECT_FALSE(m_screen.PrintControl(12345));
    for (CXControl* pControl : {static_cast<CXControl*>(m_pTree), static_cast<CXControl*>(m_pGraph),
                                static_cast<CXControl*>(m_pPlain)})
        pControl->Show(false, false);
    EXPECT_FALSE(m_screen.PrintAllControls());
    EXPECT_TRUE(s_printed.empty());
    EXPECT_FALSE(fs::exists(s_folder) && !fs::is_empty(s_folder));
}

TEST_F(Printing, AFolderThatCannotBeWrittenIsReportedToTheScreen)
{
    FillList(5);
    fs::create_directories(s_folder.parent_path());
    std::ofstream(s_folder) << "a file where the folder should be";
    EXPECT_FALSE(m_screen.PrintControl(kList));
    ASSERT_EQ(m_screen.errors.size(), 1u);
    EXPECT_EQ(m_screen.errors[0], -1);
    EXPECT_TRUE(s_printed.empty());
}

}  // namespace
