#pragma once
// The modeless "Please wait" box (template 219) of long operations on the main thread: a message,
// the list of steps with their state, a progress bar with its percentage and, when the operation
// may be aborted, an "Abort (Esc key)" button. Every progress report pumps the program's messages,
// so the box repaints and the user can ask to abort; callers stop when a report returns 1.
// ShowWaitBox and CloseWaitBox (widgets/WindowList.h) make and destroy it.

#include "common/ProgressReport.h"
#include "platform/ui/Dialog.h"

#include <string>
#include <vector>

class CDialogWaitBox : public ui::Dialog, public IProgressReport {
public:
    CDialogWaitBox(const std::string& message, bool abortable, int steps, ui::Window* parent);
    ~CDialogWaitBox() override;

    // Units of work against which SetProgress computes the percentage.
    void SetTotal(int units) override;
    // Runs the pending messages; Escape anywhere, or the abort button, asks whether to abort.
    // Returns the cancelled flag (1 = the user confirmed the abort).
    int PumpMessages();
    // Sets the box's title when the text differs from it.
    void SetMessage(const std::string& text);
    // Multi-step mode (or asStep): appends a step (the last 5 kept), shown as "%s - DONE" lines
    // and the last as "%s - WORKING". Otherwise: the text becomes the message.
    void SetStepText(const std::string& text, int asStep = 0);
    // Each report pumps the messages and returns the cancelled flag.
    int SetPercent(float percent);
    int SetProgress(int done) override;
    int SetStepPercent(float percent);
    int SetProgressWeighted(int done);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

    // Control ids of template 219.
    static constexpr int kTemplateId = 219;
    static constexpr int kMessageId = 1224;
    static constexpr int kBarId = 1271;
    static constexpr int kAbortId = 1227;

    std::string m_strCaption;
    std::string m_strMessage;
    std::vector<std::string> m_aSteps;
    std::string m_strPercent;
    ui::DCRect m_rcBar;        // the bar frame's client rectangle
    ui::DCRect m_rcInner;      // shrunk by one pixel on every side
    ui::DCRect m_rcFilled;     // inner left to the filled edge
    ui::DCRect m_rcRemaining;  // filled edge to inner right
    int m_bAbortable = 0;
    int m_bBarShown = 0;
    int m_bCancelled = 0;
    double m_dTotal = 0.0;
    int m_nWeightStep = 0;
    int m_bMultiStep = 0;
    int m_nSteps = 0;
    int m_nStep = 0;
    double m_fMaxFraction = 0.0;
    double m_fWeightSum = 0.0;
    std::vector<float> m_aWeights;
    std::vector<float> m_aOffsets;
    int m_bWeighted = 0;

private:
    class Bar;
    // Asks "Are you sure you want to abort operation?" once per request: not again while the
    // question is up, nor after the abort was confirmed.
    void AskAbort();

    std::unique_ptr<Bar> m_bar;
    bool m_bAsking = false;
};
