#include "widgets/DialogWaitBox.h"

#include "common/QuestionBox.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"

#include <algorithm>
#include <cmath>

namespace {

const ui::DialogTemplate kWaitBoxTemplate{CDialogWaitBox::kTemplateId, "Please wait", 200, 0, {
    {ui::Ctl::Label, CDialogWaitBox::kMessageId, ""},
    {ui::Ctl::Frame, CDialogWaitBox::kBarId, "", 0, -1, -1, 180, 12},
    {ui::Ctl::Button, CDialogWaitBox::kAbortId, "Abort (Esc key)"},
}};

constexpr ui::COLORREF kFrameColour = ui::RGB(0, 0, 0);
constexpr ui::COLORREF kFilledColour = ui::RGB(255, 200, 200);
constexpr ui::COLORREF kRemainingColour = ui::RGB(200, 200, 255);
constexpr size_t kStepsKept = 5;

}  // namespace

// The bar frame (control 1271): draws from the box's rectangles and percentage text.
class CDialogWaitBox::Bar : public ui::Window {
public:
    explicit Bar(CDialogWaitBox& box) : box_(box) {}

    void OnPaint(ui::DC& dc) override
    {
        if (!box_.m_bBarShown) return;
        dc.FillSolidRect(box_.m_rcBar, kFrameColour);
        dc.FillSolidRect(box_.m_rcFilled, kFilledColour);
        dc.FillSolidRect(box_.m_rcRemaining, kRemainingColour);
        dc.SetBkMode(ui::TRANSPARENT);
        dc.SetTextColor(kFrameColour);
        dc.TextOut(100, 4, box_.m_strPercent);
    }

private:
    CDialogWaitBox& box_;
};

CDialogWaitBox::CDialogWaitBox(const std::string& message, bool abortable, int steps,
                               ui::Window* parent)
    : ui::Dialog(kWaitBoxTemplate, parent),
      m_strMessage(message),
      m_bAbortable(abortable ? 1 : 0),
      m_bMultiStep(steps > 0 ? 1 : 0),
      m_nSteps(steps),
      m_bar(std::make_unique<Bar>(*this))
{
}

CDialogWaitBox::~CDialogWaitBox() { DestroyWindow(); }

bool CDialogWaitBox::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    SubclassDlgItem(kBarId, *m_bar);
    CenterWindow();
    ShowWindow(true);
    SetDlgItemText(kMessageId, m_strMessage);
    ShowDlgItem(kMessageId, true);
    ShowDlgItem(kBarId, false);
    ShowDlgItem(kAbortId, m_bAbortable != 0);
    return true;
}

bool CDialogWaitBox::OnCommand(int id, int code)
{
    // The box has no OK or Cancel of its own: Escape and the close box ask to abort.
    if (code == ui::BN_CLICKED && (id == kAbortId || id == ui::IDCANCEL)) {
        if (m_bAbortable || id == kAbortId) AskAbort();
        return true;
    }
    return code == ui::BN_CLICKED && id == ui::IDOK;
}

void CDialogWaitBox::AskAbort()
{
    if (m_bAsking || m_bCancelled) return;
    m_bAsking = true;
    if (GetResponse("Are you sure you want to abort operation?\n", MB_YESNO) == IDYES)
        m_bCancelled = 1;
    m_bAsking = false;
}

void CDialogWaitBox::SetTotal(int units) { m_dTotal = units; }

int CDialogWaitBox::PumpMessages()
{
    ui::Window* abortButton = GetDlgItem(kAbortId);
    ui::Application::PumpMessages([this, abortButton](const ui::Msg& msg) {
        const bool escape = msg.message == ui::WM_KEYDOWN && msg.wParam == ui::VK_ESCAPE;
        const bool abortDown =
            msg.message == ui::WM_LBUTTONDOWN && abortButton && msg.window == abortButton;
        if (!escape && !abortDown) return false;
        // The button-down is taken here, so no click follows it and the question comes once.
        AskAbort();
        return true;
    });
    return m_bCancelled;
}

void CDialogWaitBox::SetMessage(const std::string& text)
{
    if (text == m_strCaption) return;
    m_strCaption = text;
    SetWindowText(text);
}

void CDialogWaitBox::SetStepText(const std::string& text, int asStep)
{
    if (m_bMultiStep || asStep) {
        m_aSteps.push_back(text);
        if (m_aSteps.size() > kStepsKept) m_aSteps.erase(m_aSteps.begin());
        std::string message;
        for (size_t i = 0; i < m_aSteps.size(); ++i) {
            if (i > 0) message += "\n";
            message += Format(i + 1 < m_aSteps.size() ? "%s - DONE" : "%s - WORKING",
                              m_aSteps[i].c_str());
        }
        m_strMessage = message;
        SetDlgItemText(kMessageId, m_strMessage);
    } else if (text != m_strMessage) {
        m_strMessage = text;
        SetDlgItemText(kMessageId, m_strMessage);
    }
    if (m_bMultiStep) ++m_nStep;
}

int CDialogWaitBox::SetPercent(float percent)
{
    PumpMessages();
    if (!m_bBarShown) {
        ShowDlgItem(kBarId, true);
        m_rcBar = m_bar->GetClientRect();
        m_rcInner = {m_rcBar.left + 1, m_rcBar.top + 1, m_rcBar.right - 1, m_rcBar.bottom - 1};
        m_rcFilled = {m_rcInner.left, m_rcInner.top, m_rcInner.left, m_rcInner.bottom};
        m_rcRemaining = m_rcInner;
        m_bBarShown = 1;
        m_strPercent.clear();
        m_bar->Invalidate();
    }
    const std::string text = Format("%.1f", percent);
    if (text == m_strPercent) return m_bCancelled;
    m_strPercent = text;
    const double clamped = std::clamp(static_cast<double>(percent), 0.0, 100.0);
    const int edge = m_rcInner.left +
                     static_cast<int>((m_rcInner.right - m_rcInner.left) * clamped / 100.0);
    m_rcFilled = {m_rcInner.left, m_rcInner.top, edge, m_rcInner.bottom};
    m_rcRemaining = {edge, m_rcInner.top, m_rcInner.right, m_rcInner.bottom};
    m_bar->ShowWindow(true);
    m_bar->Invalidate();
    return m_bCancelled;
}

int CDialogWaitBox::SetProgress(int done)
{
    if (m_dTotal <= 0.001) return m_bCancelled;
    double percent;
    if (m_bMultiStep)
        percent = (done / m_dTotal / m_nSteps + static_cast<double>(m_nStep - 1) / m_nSteps) * 100.0;
    else
        percent = done / m_dTotal * 100.0;
    return SetPercent(static_cast<float>(percent));
}

int CDialogWaitBox::SetStepPercent(float percent)
{
    double whole = percent;
    if (m_bMultiStep)
        whole = static_cast<double>(m_nStep - 1) * 100.0 / m_nSteps + percent / m_nSteps;
    return SetPercent(static_cast<float>(whole));
}

int CDialogWaitBox::SetProgressWeighted(int done)
{
    if (m_dTotal <= 0.001) return m_bCancelled;
    double fraction;
    const bool weighted = m_fWeightSum > 0.001 && m_bWeighted && m_nWeightStep >= 0 &&
                          static_cast<size_t>(m_nWeightStep) < m_aWeights.size() &&
                          static_cast<size_t>(m_nWeightStep) < m_aOffsets.size();
    if (weighted)
        fraction = (m_aWeights[m_nWeightStep] * done / m_dTotal + m_aOffsets[m_nWeightStep]) /
                   m_fWeightSum;
    else
        fraction = done / m_dTotal;
    if (fraction < m_fMaxFraction) fraction = m_fMaxFraction;
    else m_fMaxFraction = fraction;
    return SetStepPercent(static_cast<float>(fraction * 100.0));
}
