#include "popups/CPopupHelp.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/COptions.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"
#include "xframework/DrawingFunctions.h"

#include <string>

namespace {

constexpr int kWidth = 596, kHeight = 444;
constexpr int kCaptionItem = 24;
constexpr int kLabels = 24;
constexpr int kTitleTable = 90;
constexpr int kRowHeight = 16;
constexpr COLORREF kWhite = plat::RGB(255, 255, 255);
constexpr int kTickX = 90, kTickSize = 18;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

using Topic = CPopupHelp::Topic;

// A topic opened by a screen id, by a page id, or by neither.
Topic S(int nItem, const char* pszFile, int nScreen, std::vector<Topic> children = {})
{
    return {static_cast<int16_t>(nItem), pszFile, static_cast<int16_t>(nScreen), -1, std::move(children)};
}
Topic P(int nItem, const char* pszFile, int nPage)
{
    return {static_cast<int16_t>(nItem), pszFile, -1, static_cast<int16_t>(nPage), {}};
}
Topic T(int nItem, const char* pszFile, std::vector<Topic> children = {})
{
    return {static_cast<int16_t>(nItem), pszFile, -1, -1, std::move(children)};
}

}  // namespace

const std::vector<Topic>& CPopupHelp::Topics()
{
    static const std::vector<Topic> topics = {
        T(49, "164.TXT",
          {S(52, "162.TXT", 1, {S(57, "113.TXT", 1), S(58, "114.TXT", 2)}),
           S(53, "163.TXT", 0,
             {S(0, "153.TXT", 0), S(1, "177.TXT", 3),
              S(2, "154.TXT", 4, {S(11, "115.TXT", 4), S(12, "116.TXT", 5), S(13, "117.TXT", 7), S(14, "118.TXT", 6)}),
              S(3, "155.TXT", 8,
                {S(15, "137.TXT", 8), S(16, "138.TXT", 9), S(17, "139.TXT", 10), S(18, "140.TXT", 11),
                 S(19, "141.TXT", 12), S(20, "142.TXT", 13), S(21, "143.TXT", 14), S(22, "144.TXT", 15)}),
              S(4, "156.TXT", 16, {S(23, "145.TXT", 16), S(24, "168.TXT", 17), S(25, "148.TXT", 19), S(26, "149.TXT", 20)}),
              S(5, "157.TXT", 21, {S(27, "150.TXT", 21), S(28, "151.TXT", 22), S(29, "152.TXT", 23)}),
              S(6, "158.TXT", 24,
                {S(30, "119.TXT", 24), S(31, "174.TXT", 18), S(32, "120.TXT", 25), S(33, "121.TXT", 26),
                 S(34, "122.TXT", 27)}),
              S(7, "159.TXT", 28,
                {S(35, "123.TXT", 28), S(36, "124.TXT", 29), S(37, "125.TXT", 30), S(38, "126.TXT", 31),
                 S(39, "127.TXT", 32), S(40, "128.TXT", 33)}),
              S(8, "160.TXT", 35, {S(41, "129.TXT", 34), S(42, "130.TXT", 35), S(43, "131.TXT", 36), S(44, "132.TXT", 37)}),
              S(9, "161.TXT", 38, {S(45, "133.TXT", 38), S(46, "134.TXT", 39), S(47, "135.TXT", 40), S(48, "136.TXT", 41)}),
              S(10, "180.TXT", 93)})}),
        T(50, "165.TXT",
          {S(59, "077.TXT", 42, {P(110, "058.TXT", 561), P(111, "059.TXT", 562), P(112, "060.TXT", 563)}),
           S(60, "078.TXT", 43), S(61, "079.TXT", 44), S(62, "080.TXT", 45), S(63, "081.TXT", 46),
           S(64, "083.TXT", 48, {P(102, "067.TXT", 579), P(103, "068.TXT", 564)}), S(65, "084.TXT", 51),
           S(66, "085.TXT", 52), S(67, "181.TXT", 53), S(68, "087.TXT", 54),
           S(69, "088.TXT", 55,
             {P(98, "069.TXT", 565), P(99, "070.TXT", 566), P(100, "071.TXT", 567), P(101, "072.TXT", 568)}),
           S(70, "089.TXT", 57), S(71, "090.TXT", 58), S(72, "091.TXT", 59),
           S(74, "094.TXT", 62, {S(142, "172.TXT", 608), S(143, "178.TXT", 623), S(144, "173.TXT", 609)}),
           S(75, "179.TXT", 92), S(76, "095.TXT", 63), S(77, "096.TXT", 64),
           S(78, "097.TXT", 65, {P(95, "073.TXT", 569), P(96, "074.TXT", 570), P(97, "076.TXT", 571)}),
           S(79, "098.TXT", 66), S(80, "099.TXT", 67), S(81, "100.TXT", 68), S(82, "101.TXT", 69), S(83, "102.TXT", 70),
           S(84, "103.TXT", 71,
             {P(106, "061.TXT", 572), P(107, "062.TXT", 573), P(108, "063.TXT", 574), P(109, "064.TXT", 575)}),
           S(85, "105.TXT", 73), S(86, "106.TXT", 74), S(87, "107.TXT", 75), S(88, "108.TXT", 76),
           S(89, "167.TXT", 86), S(90, "109.TXT", 77), S(91, "176.TXT", 91), S(92, "110.TXT", 78),
           S(93, "111.TXT", 79), S(94, "112.TXT", 49, {P(104, "065.TXT", 576), P(105, "066.TXT", 577)})}),
        T(51, "166.TXT",
          {T(123, "046.TXT",
             {T(124, "043.TXT", {T(128, "032.TXT"), T(129, "033.TXT"), T(130, "034.TXT")}),
              T(125, "044.TXT",
                {T(131, "035.TXT"), T(132, "036.TXT"), T(133, "037.TXT"), T(134, "038.TXT"), T(135, "039.TXT"),
                 T(136, "040.TXT"), T(137, "041.TXT"), T(138, "042.TXT"), T(126, "045.TXT"), T(139, "169.TXT"),
                 T(140, "170.TXT"), T(141, "171.TXT")})}),
           T(122, "047.TXT"), T(113, "048.TXT"), T(114, "049.TXT"), T(115, "050.TXT"), T(116, "051.TXT"),
           T(117, "052.TXT"), T(118, "053.TXT"), T(120, "055.TXT"), T(119, "056.TXT"), T(121, "057.TXT")}),
    };
    return topics;
}

const Topic* CPopupHelp::FindTopic(int nScreenID, int nPageID)
{
    const Topic* pFound = nullptr;
    auto walk = [&](const auto& self, const std::vector<Topic>& topics) -> void {
        for (const Topic& topic : topics) {
            if ((topic.nScreen >= 0 && topic.nScreen == nScreenID) || (topic.nPage >= 0 && topic.nPage == nPageID))
                pFound = &topic;
            self(self, topic.children);
        }
    };
    walk(walk, Topics());
    return pFound;
}

CPopupHelp::CPopupHelp()
{
    m_wScreenID = SCREEN_HELP_POPUP;
    SetPopupRect(182, 103, kWidth, kHeight);
}

CXTreeView* CPopupHelp::Tree() const { return dynamic_cast<CXTreeView*>(FindControl(ID_TOPICS)); }

CXListBox* CPopupHelp::Text() const { return dynamic_cast<CXListBox*>(FindControl(ID_TEXT)); }

void CPopupHelp::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    DrawAutoHelpTick();
}

void CPopupHelp::DrawAutoHelpTick()
{
    if (!m_pBackground)
        return;
    // The box of the tick, filled when AutoHelp is on.
    const int y = kHeight - 32;
    m_pBackground->FillGradient(kTickX, y, kTickSize + 2, kTickSize, plat::RGB(12, 29, 48), plat::RGB(12, 29, 48));
    m_pBackground->DrawRectOutline(plat::Rect{kTickX, y, kTickX + kTickSize + 2, y + kTickSize});
    CGame* pGame = Game();
    CXAnimation* pTick = pGame ? pGame->GetSharedBitmaps().GetSprite("icnTick.bmp") : nullptr;
    if (pTick && pGame->GetOptions().m_nAutoHelp)
        pTick->DrawFrame(m_pBackground, kTickX + 4, y + 2, 0, true);
}

bool CPopupHelp::OnInitDialog()
{
    // The client the help was opened over chooses the topic.
    const int nTop = StackTop();
    const CXClient* pOwner = nTop > 0 ? StackEntry(nTop - 1) : g_pCurrentClient;
    const Topic* pOpenOn = pOwner ? FindTopic(pOwner->m_wScreenID, pOwner->GetHelpPageID()) : nullptr;

    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    auto* pTreeBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 270, 52, 284, 404, 901, nullptr));
    if (pTreeBar)
        pTreeBar->Create(885, 886, kRowHeight, false, 0);
    auto* pTree = static_cast<CXTreeView*>(AddControl(XCONTROL_TREEVIEW, 8, 52, 268, 404, ID_TOPICS, nullptr));
    if (pTree) {
        pTree->SetUp(kRowHeight, 4, g_hSmallFont, TREESTYLE_NOTIFY_SELECTION, 1, pTreeBar, 1, 0, nullptr);
        pTree->m_nIndent = 6;
        pTree->m_bSelectionBarAlways = 1;
    }
    popup_look::AddTextList(*this, ID_TEXT, 902, 887, 290, 52, 572, 404);
    if (auto* pTick = static_cast<CXStatic*>(
            AddControlXYWH(XCONTROL_STATIC, kTickX, kHeight - 32, kTickSize + 2, kTickSize, ID_AUTO_HELP, nullptr))) {
        pTick->m_bFrame = 0;
        pTick->m_bClickable = 1;
        pTick->m_bPointer = 1;
        pTick->m_byAlignment = 6;
    }

    m_RowTopics.clear();
    if (pTree) {
        pTree->m_bNotifyOwner = 0;
        AddTopics(Topics(), -1, pOpenOn);
        pTree->m_bNotifyOwner = 1;
        pTree->UpdateScrollBar();
        pTree->Redraw();
    }
    ShowSelectedTopic();
    ShowAllControls(true);
    if (pTree)
        SetFocus(pTree);
    return true;
}

void CPopupHelp::AddTopics(const std::vector<Topic>& topics, int nParent, const Topic* pOpenOn)
{
    CXTreeView* pTree = Tree();
    if (!pTree)
        return;
    for (const Topic& topic : topics) {
        const int nID = pTree->InsertItem(GetTableTextOrEmpty(kTitleTable, topic.nItem), kWhite, nParent,
                                          nParent < 0 ? g_hNormalFont : g_hSmallFont);
        if (nID < 0)
            continue;
        pTree->SetItemData(nID, static_cast<int32_t>(m_RowTopics.size()), 0);
        m_RowTopics.push_back(&topic);
        AddTopics(topic.children, nID, pOpenOn);
        if (&topic == pOpenOn) {
            pTree->ExpandItem(nID, true, true, false);
            pTree->SelectItem(nID);
        }
    }
}

const Topic* CPopupHelp::GetSelectedTopic() const
{
    const CXTreeView* pTree = Tree();
    if (!pTree || pTree->GetCurrentID() < 0)
        return nullptr;
    const int32_t nIndex = pTree->GetItemData(pTree->GetCurrentID(), 0);
    return nIndex >= 0 && static_cast<size_t>(nIndex) < m_RowTopics.size() ? m_RowTopics[static_cast<size_t>(nIndex)]
                                                                            : nullptr;
}

void CPopupHelp::ShowSelectedTopic()
{
    CXListBox* pText = Text();
    if (!pText)
        return;
    pText->SetAutoRedraw(false);
    pText->ResetContent();
    const Topic* pTopic = GetSelectedTopic();
    if (!pTopic || !pTopic->pszFile) {
        pText->AddString(kWhite, "%s", "No Help Found!");
    } else {
        CGame* pGame = Game();
        const std::string path = std::string("Help\\") + (pGame ? pGame->GetOptions().GetLanguage() : "English") +
                                 "\\" + pTopic->pszFile;
        pText->AddFile(path.c_str(), kWhite);
    }
    pText->SetAutoRedraw(true);
    pText->UpdateScrollBar();
    pText->Redraw();
}

void CPopupHelp::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    if (dwID == ID_TOPICS)
        ShowSelectedTopic();
}

void CPopupHelp::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    CGame* pGame = Game();
    if (dwID == ID_AUTO_HELP && pGame) {
        // In force at once; stored only when the help is closed with its button.
        pGame->SetAutoHelp(!pGame->GetOptions().m_nAutoHelp);
        DrawAutoHelpTick();
        RestoreBackground(kTickX, kHeight - 32, kTickSize + 2, kTickSize);
    } else if (dwID == kOkButtonID) {
        if (pGame) {
            auto pKey = GetRegistryKey(COptions::kOptionsKey);
            SetRegistryString(*pKey, "AutoHelp", std::to_string(pGame->GetOptions().m_nAutoHelp).c_str());
        }
        Close();
    }
}

void CPopupHelp::OnDestroy()
{
    m_RowTopics.clear();
    CGamePopup::OnDestroy();
}

void CPopupHelp::OnPrint() { PrintControl(ID_TEXT); }
