#include "widgets/MakeModal.h"

#include "platform/ui/Application.h"

void CMakeModal::RunModalLoop()
{
    m_bDone = 0;
    ui::Application::RunNestedLoop([this] { return m_bDone != 0; });
}

void CMakeModal::EndModalLoop() { m_bDone = 1; }
