// A list box of 10 000 rows on an 800 x 600 screen: milliseconds per sort by
// a text column (each run turns the order round, as a header click does), per
// sort by a number column, and per full redraw of the rows in view while the
// view moves down a page at a time.
#include "xframework/CXClient.h"
#include "xframework/CXListBox.h"

#include "platform/Font.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRows = 10000;

const LISTCOLUMN kColumns[] = {
    {0, 200, 2, 0, 0, 0, 1, LISTSORT_TEXT, 1},
    {200, 260, 2, 0, 2, 0, 2, LISTSORT_NUMBER, 0},
    {260, 360, 2, 0, 0, 0, 3, LISTSORT_DATE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

class Screen : public CXClient {
public:
    Screen() { SetClientRect(0, 0, 800, 600); }
};

struct Fixture {
    Fixture()
    {
        screen.m_pBackground = new CXSurface;
        screen.m_pBackground->Create(800, 600, false, false);
        screen.m_pBackground->Fill(0x00402010);
        screen.OnInitDialog();
        pList = static_cast<CXListBox*>(screen.AddControl(XCONTROL_LISTBOX, 20, 40, 380, 584, 10, nullptr));
        pList->SetUp(16, 0, pFont.get(), 0, true, nullptr, true, nullptr, false, 1, false, true, false);
        pList->SetUpColumns(20, 40, 380, 584, kColumns, false, false, 544, true);
        static const char* const kWords[] = {"Amber", "brook", "Crane", "dale", "Ember", "frost", "Glen", "hale"};
        for (int i = 0; i < kRows; ++i)
            pList->AddString(0x00FFFFFF, "%s %s %d\t%d,%03d\t%d/%d/%02d", kWords[i % 8], kWords[(i * 5) % 8],
                             (i * 7919) % kRows, (i * 31) % 1000, (i * 17) % 1000, 1 + i % 28, 1 + i % 12, i % 100);
        pList->SetAutoRedraw(true);
    }
    ~Fixture() { screen.OnDestroy(); }
    std::unique_ptr<plat::Font> pFont{plat::Font::create(14, 400, "Arial")};
    Screen screen;
    CXListBox* pList = nullptr;
};

void SortByText(benchmark::State& state)
{
    Fixture fixture;
    bool bAscending = true;
    for (auto _ : state) {
        fixture.pList->Sort(0, bAscending, LISTSORT_TEXT, 0);
        bAscending = !bAscending;
    }
}

void SortByNumber(benchmark::State& state)
{
    Fixture fixture;
    bool bAscending = true;
    for (auto _ : state) {
        fixture.pList->Sort(1, bAscending, LISTSORT_NUMBER, 0);
        bAscending = !bAscending;
    }
}

void RedrawFullView(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state) {
        if (fixture.pList->GetFirstVisible() + fixture.pList->RowsPerView() >= kRows)
            fixture.pList->Scroll(LISTSCROLL_TOP, 0);
        else
            fixture.pList->Scroll(LISTSCROLL_PAGE_DOWN, 0);
    }
}

}  // namespace

BENCHMARK(SortByText)->Unit(benchmark::kMillisecond);
BENCHMARK(SortByNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawFullView)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
