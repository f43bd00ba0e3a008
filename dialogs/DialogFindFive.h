#pragma once
// CDialogFindFive: up to five words or phrases to search for, each with a "Not" mark, and the
// previous searches of this program run to pick from (newest first, at most 20, not stored).

#include "platform/ui/Dialog.h"

#include <array>
#include <string>
#include <vector>

class CDialogFindFive : public ui::Dialog {
public:
    static constexpr size_t kHistoryLimit = 20;

    explicit CDialogFindFive(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // The search history shared by every use of the dialog.
    static std::vector<std::string>& History();

    std::array<std::string, 5> m_aPhrases;
    std::array<int, 5> m_aNot{};
    std::string m_strPrevious;

private:
    void OnSelectPrevious();
};
