#pragma once
// ui::PropertyPage: one page of a PropertySheet, built from its own template. Its window is made
// (and OnInitDialog run) when the page is first shown, not before. OnKillActive may refuse to let
// the user leave the page (return false: the sheet stays on it).

#include "platform/ui/Dialog.h"

namespace ui {

class PropertySheet;

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(const DialogTemplate& tmpl);
    ~PropertyPage() override;

    // The tab's title: the template's caption unless set.
    void SetTitle(const std::string& title) { title_ = title; }
    std::string GetTitle() const;
    PropertySheet* GetSheet() const { return sheet_; }

    // The page becomes the shown one; return false to refuse (rare).
    virtual bool OnSetActive();
    // The user leaves the page, or presses OK or Apply: base UpdateData(true).
    virtual bool OnKillActive();
    // The sheet's OK on every page made so far (after the active page's OnKillActive).
    void OnOK() override;
    // The sheet's Cancel on every page made so far. The base does nothing.
    void OnCancel() override;
    // Apply: the base returns true after OnOK.
    virtual bool OnApply();
    // Enables the sheet's Apply button.
    void SetModified(bool modified = true);

    bool IsPageCreated() const;

private:
    friend class PropertySheet;
    PropertySheet* sheet_ = nullptr;
    std::string title_;
};

}  // namespace ui
