#include "views/FrameHtml.h"

#include "common/Diagnostic.h"
#include "platform/ui/Application.h"
#include "widgets/ProgramIcon.h"

namespace {

void RegisterHtmlMenu()
{
    static bool done = false;
    if (done) return;
    done = true;
    ui::RegisterMenu({CFrameHtml::kMenu, {ui::Item(CFrameHtml::kCmdExit, "e&Xit"),
                                          ui::Item(CFrameHtml::kCmdBack, "&Back")}});
}

}  // namespace

CFrameHtml::CFrameHtml() { RegisterHtmlMenu(); }

CFrameHtml::~CFrameHtml()
{
    if (m_View.IsCreated()) m_View.DestroyWindow();
    if (IsCreated()) {
        SetAutoDelete(false);
        DestroyWindow();
    }
}

bool CFrameHtml::ShowHtml(const std::string& address)
{
    WriteDiagnosticFormat("CFrameHtml::ShowHtml %s\n", address.c_str());
    ui::DCRect rect{60, 60, 860, 660};
    if (ui::Application* app = ui::Application::Instance())
        if (ui::Window* main = app->GetMainWindow(); main && main->IsCreated()) rect = main->GetWindowRect();
    if (!CreateFrame("Html view", rect)) return false;
    SetIcon(ProgramIcon(), true);
    SetAutoDelete(true);
    m_View.CreateHtmlView(this, 0xE900);
    ShowWindow(true);
    SwitchView(&m_View);
    SetWindowText("Html view");
    LoadMenu(kMenu);
    DrawMenuBar();
    return m_View.Navigate(address);
}

bool CFrameHtml::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        DestroyWindow();
        return true;
    case kCmdBack:
        m_View.GoBack();
        return true;
    default:
        return ui::FrameWindow::OnCommand(id, code);
    }
}
