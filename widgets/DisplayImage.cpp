#include "widgets/DisplayImage.h"

#include "common/Diagnostic.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kMargin = 20;

void TraceSize(int width, int height)
{
    if (DiagnosticLevel >= 1) WriteDiagnosticFormat("CDisplayImage::LoadPicture() width %i, height %i \n", width, height);
}

}  // namespace

bool CDisplayImage::LoadPicture(ui::Window* window, ui::Window* second, const std::string& fileName, ui::DCSize* box)
{
    m_Picture = ui::Picture();
    m_nX = m_nY = 0;
    m_Source = {};
    ui::Picture file;
    if (!file.Load(fileName)) {
        if (window != nullptr) window->Invalidate();
        return false;
    }
    // Hundredths of a millimetre, then pixels at the window's resolution.
    TraceSize(file.Width() * 2540 / file.DpiX(), file.Height() * 2540 / file.DpiY());
    const ui::DC screen;
    const int dpiX = screen.GetDeviceCaps(ui::LOGPIXELSX);
    const int dpiY = screen.GetDeviceCaps(ui::LOGPIXELSY);
    const int width = file.Width() * dpiX / file.DpiX();
    const int height = file.Height() * dpiY / file.DpiY();
    TraceSize(width, height);
    m_Picture = file.Scaled(width, height);

    int drawnWidth = width;
    int drawnHeight = height;
    if (box != nullptr) {
        if (box->cx < width) {
            drawnWidth = box->cx;
            if (DiagnosticLevel >= 1) WriteDiagnosticFormat("CDisplayImage::LoadPicture() reset width %i\n", drawnWidth);
        } else {
            m_nX = (box->cx - width) / 2;
        }
        if (box->cy < height) {
            drawnHeight = box->cy;
            if (DiagnosticLevel >= 1)
                WriteDiagnosticFormat("CDisplayImage::LoadPicture() reset height %i \n", drawnHeight);
        } else {
            m_nY = (box->cy - height) / 2;
        }
    }
    if (DiagnosticLevel >= 1) WriteDiagnosticFormat("CDisplayImage::LoadPicture() Xstart %i, Ystart %i \n", m_nX, m_nY);
    m_Source = {0, 0, drawnWidth, drawnHeight};
    const int margin = second != nullptr ? kMargin : 0;
    if (box == nullptr && window != nullptr) {
        const ui::DCRect at = window->GetWindowRect();
        window->MoveWindow({at.left, at.top, at.left + width + margin, at.top + height + margin});
    }
    if (box != nullptr) {
        box->cx = drawnWidth + margin;
        box->cy = drawnHeight + margin;
    }
    if (window != nullptr) window->Invalidate();
    return true;
}

void CDisplayImage::Draw(ui::DC& dc) const
{
    if (!m_Picture.IsNull()) dc.DrawPicture(m_nX, m_nY, m_Picture, m_Source);
}
