#include "views/ViewHtml.h"

#include "views/FrameHtml.h"

bool CViewHtml::CreateHtmlView(CFrameHtml* frame, int id)
{
    m_pFrame = frame;
    if (!CreateView(frame, id)) return false;
    const ui::DCRect client = GetClientRect();
    return m_Browser.Create(this, client, 1);
}

void CViewHtml::OnSize(int cx, int cy)
{
    ui::View::OnSize(cx, cy);
    if (m_Browser.IsCreated()) m_Browser.MoveWindow(ui::DCRect{0, 0, cx, cy});
}
