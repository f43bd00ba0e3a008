#pragma once
// ui::HtmlView: a window that shows web pages from files (Qt's text browser), with the browser's
// history for Back. Pages that name no character set (as the program's own HTML output writes
// them) are read as Windows-1252.

#include "platform/ui/Window.h"

#include <memory>
#include <string>

namespace ui {

class HtmlView : public Window {
public:
    HtmlView();
    ~HtmlView() override;

    bool Create(Window* parent, const DCRect& rect, int id);
    // Shows the page at the path (or file URL); false when it cannot be read.
    bool Navigate(const std::string& address);
    void GoBack();
    bool CanGoBack() const;
    // The page's text as shown (Windows-1252) and its address.
    std::string GetPageText() const;
    std::string GetAddress() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
