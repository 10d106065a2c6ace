#pragma once
// The help: a tree of topics on the left and the chosen topic's text on the
// right, read from the language's help folder. It opens on the topic of the
// screen or popup below it (by its screen id, or by the page it shows),
// from every popup's help button and F1 and from the navigation bar's help
// button. Its tick box turns the AutoHelp option on or off at once; only
// closing with its button stores the option.
#include "shell/CGamePopup.h"

#include <cstdint>
#include <vector>

class CXListBox;
class CXTreeView;

class CPopupHelp : public CGamePopup {
public:
    enum : uint32_t {
        ID_TEXT = 580,
        ID_TOPICS = 581,
        ID_AUTO_HELP = 582,
    };
    // One topic: its title (an item of the help titles), its help file (null
    // for none), the screen id or page id that opens the help on it (-1 for
    // none) and the topics under it.
    struct Topic {
        int16_t nItem;
        const char* pszFile;
        int16_t nScreen;
        int16_t nPage;
        std::vector<Topic> children;
    };

    CPopupHelp();
    static const std::vector<Topic>& Topics();
    // The topic help opens on for a screen id and page id: the last topic in
    // tree order whose screen or page matches; null when none does.
    static const Topic* FindTopic(int nScreenID, int nPageID);

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;

    // The topic of the selected tree row; null for none.
    const Topic* GetSelectedTopic() const;

private:
    void AddTopics(const std::vector<Topic>& topics, int nParent, const Topic* pOpenOn);
    void ShowSelectedTopic();
    void DrawAutoHelpTick();
    CXTreeView* Tree() const;
    CXListBox* Text() const;

    // The tree's rows' topics, by the row's data.
    std::vector<const Topic*> m_RowTopics;
};
