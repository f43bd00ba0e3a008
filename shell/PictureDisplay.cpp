#include "shell/PictureDisplay.h"

#include "platform/host/Clock.h"
#include "platform/ui/Application.h"

CPictureDisplay::CPictureDisplay() = default;

CPictureDisplay::~CPictureDisplay()
{
    if (IsCreated()) DestroyWindow();
}

bool CPictureDisplay::CreateDisplayWindow(const std::string& title)
{
    if (!CreateFrame(title, {100, 100, 500, 400})) return false;
    SetAutoDelete(true);
    ShowWindow(true);
    return true;
}

bool CPictureDisplay::ShowPicture(const std::string& path, double seconds)
{
    const bool loaded = m_Image.LoadPicture(this, ui::Application::Instance()->GetMainWindow(), path, nullptr);
    if (seconds > 0.0) {
        UpdateWindow();
        host::Clock::Sleep(static_cast<uint32_t>(seconds * 1000.0));
        DestroyWindow();
    }
    return loaded;
}

void CPictureDisplay::OnPaint(ui::DC& dc)
{
    m_Image.Draw(dc);
}
