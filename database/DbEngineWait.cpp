// CDbEngine: the few calls on the wait box and the message loop.

#include "database/DbEngine.h"

#include <climits>

#include "widgets/DialogWaitBox.h"
#include "platform/host/Clock.h"
#include "platform/ui/Application.h"

namespace {

// File locations reach 4 GiB; the box counts in int.
int Units(double value) {
    if (value <= 0) return 0;
    return value >= INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

void CDbEngine::WaitSetMessage(CDialogWaitBox* box, const std::string& text) {
    if (box != nullptr) box->SetStepText(text);
}

void CDbEngine::WaitSetTotal(CDialogWaitBox* box, double total) {
    if (box != nullptr) box->SetTotal(Units(total));
}

void CDbEngine::WaitSetProgress(CDialogWaitBox* box, double done) {
    if (box != nullptr) box->SetProgress(Units(done));
}

bool CDbEngine::WaitPump(CDialogWaitBox* box) {
    if (box == nullptr) {
        ui::Application::PumpMessages();
        return false;
    }
    return box->PumpMessages() != 0;
}

bool CDbEngine::WaitCancelled(CDialogWaitBox* box) {
    return box != nullptr && box->m_bCancelled != 0;
}

void CDbEngine::PostQuit() {
    if (ui::Application* app = ui::Application::Instance()) app->Quit(0);
}

void CDbEngine::PauseBetweenTries() {
    host::Clock::Sleep(1);
}
