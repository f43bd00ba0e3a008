#pragma once
// CViewHtml: the view of the HTML frame, a browser over one page at a time with Back.

#include "platform/ui/HtmlView.h"
#include "platform/ui/View.h"

#include <string>

class CFrameHtml;

class CViewHtml : public ui::View {
public:
    CViewHtml() = default;

    bool CreateHtmlView(CFrameHtml* frame, int id);
    bool Navigate(const std::string& address) { return m_Browser.Navigate(address); }
    void GoBack() { m_Browser.GoBack(); }
    ui::HtmlView& Browser() { return m_Browser; }

    void OnSize(int cx, int cy) override;

private:
    ui::HtmlView m_Browser;
    CFrameHtml* m_pFrame = nullptr;
};
