#pragma once
// One newspaper story drawn as a page on a screen's back surface: the page
// background at (90, 230), a headline strip, the body in two columns (with
// the story's picture in the top or bottom of one of them when the body
// leaves room), or, for the monthly awards, a table of the winners.
#include <cstddef>
#include <functional>
#include <string>

class CDatabaseHandler;
class CFormScript;
class CNewspaperStory;
class CXSurface;

// The page and its parts on the back surface.
constexpr int NEWSPAGE_LEFT = 90;
constexpr int NEWSPAGE_TOP = 230;
constexpr int NEWSPAGE_LINE_HEIGHT = 16;

// How a scripted story is laid out by the lines its body takes in the
// width of column two: below 13 the short layout (picture beside the text),
// above 19 two columns without the picture, else the picture in a column.
enum class NewsLayout { Short, WithPicture, TwoColumns };
NewsLayout ChooseNewsLayout(int nLines);

// The body's text that fills a column of the given height: the whole text
// when it fits, else cut back from its end to the nearest sentence end
// (kept with its sentence) or space (dropped) until it fits. Answers the
// length kept and sets *pnRest to where the rest begins (the space after a
// sentence's end is not carried over).
// measure(text) gives the height a text takes in the column.
size_t FitNewsColumn(const std::string& text, int nHeight, const std::function<int(const std::string&)>& measure,
                     size_t* pnRest);

// The line a story is listed by: a scripted story's headline; the month
// (and the division, for the team of the month) of an award story.
std::string GetStoryHeadline(const CNewspaperStory& story, const CFormScript& script, CDatabaseHandler* pDatabase);
// The empty page.
void ClearNewspaperPage(CXSurface* pDestination, CXSurface* pPage);
// The story on the page; the script is "PendingNews.fmc" with its texts.
void DrawNewspaperStory(const CNewspaperStory& story, CXSurface* pDestination, CXSurface* pPage,
                        const CFormScript& script, CDatabaseHandler* pDatabase);
