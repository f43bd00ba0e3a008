#pragma once
// ui::PropertySheet: a modal dialog of tabbed pages with OK (IDOK), Cancel (IDCANCEL) and Apply
// (ID_APPLY_NOW). Pages are added before DoModal and belong to the caller. Only the first shown
// page is made at start; the others when the user first goes to them.
//
// OK: the active page's OnKillActive (false keeps the sheet open on that page), then OnOK of
// every page made, then EndDialog(IDOK). Cancel and Escape: OnCancel of every page made, then
// EndDialog(IDCANCEL); a derived sheet may override OnCommand to ask first.

#include "platform/ui/Dialog.h"

#include <vector>

namespace ui {

class PropertyPage;

class PropertySheet : public Dialog {
public:
    explicit PropertySheet(const std::string& caption, Window* parent = nullptr,
                           int startPage = 0);
    ~PropertySheet() override;

    void AddPage(PropertyPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage* GetPage(int index) const;
    PropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return active_; }
    // Goes to the page as the user would: the current page's OnKillActive may refuse (false).
    bool SetActivePage(int index);

    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    // The sheet's own caption (template caption is empty).
    void SetTitle(const std::string& caption);
    // A sheet without the Apply button (set before DoModal).
    void SetNoApply(bool noApply) { noApply_ = noApply; }

protected:
    bool BuildWindow(Window* parent) override;

private:
    bool ShowPage(int index);
    void Apply();
    void EnableApply(bool enable);
    friend class PropertyPage;

    std::string caption_;
    std::vector<PropertyPage*> pages_;
    int active_ = -1;
    int startPage_ = 0;
    bool noApply_ = false;
    void* tabs_ = nullptr;   // the tab bar
    void* stack_ = nullptr;  // the page area
};

}  // namespace ui
