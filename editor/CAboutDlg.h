#pragma once
// The About box: the editor's icon, its name and version and who made it,
// closed by OK, Return or Escape.
#include "xframework/CXPopup.h"

class CAboutDlg : public CXPopup {
public:
    CAboutDlg();

    // Opens the box over the owner; false when it cannot open.
    bool Show();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
};
