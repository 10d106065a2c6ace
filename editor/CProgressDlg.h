#pragma once
// The progress box shown while the database loads and saves: a framed group
// whose caption is the title with the share done, the overall bar, the name
// tables' bar and the text of the step under way. The work runs without a
// frame loop, so each change is put on the window at once (the name bar's at
// most a few dozen times a second).
#include "editor/CEditorProgress.h"

#include "xframework/CXPopup.h"

#include <chrono>
#include <string>

class CProgressDlg : public CXPopup, public CEditorProgress {
public:
    CProgressDlg();

    // Opens the box with the overall range and the title's text number;
    // false when it cannot open (it then only counts).
    bool Begin(int nMinimum, int nMaximum, int nStep, int nTitle);
    // Closes the box.
    void End();

    void SetRange(int nMinimum, int nMaximum, int nStep);
    void SetTitle(int nTitle);
    void Step(int nText) override;
    void StepIt() override;
    void SetNameRange(int nMaximum, int nStep) override;
    void StepNames() override;

    bool OnInitDialog() override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;

    // "Title (NN %)": the share is (100 div maximum) x position, so a range
    // that 100 does not divide ends just short of 100.
    std::string GetTitleLine() const;
    int GetPosition() const { return m_nPosition; }
    int GetNamePosition() const { return m_nNamePosition; }
    const std::string& GetStepText() const { return m_StepText; }

private:
    void Draw();
    void ShowNow(bool bAlways);

    int m_nMinimum = 0;
    int m_nMaximum = 100;
    int m_nStep = 10;
    int m_nPosition = 0;
    int m_nTitle = 0;
    int m_nNameMaximum = 100;
    int m_nNameStep = 10;
    int m_nNamePosition = 0;
    std::string m_StepText;
    std::chrono::steady_clock::time_point m_LastShown{};
};
