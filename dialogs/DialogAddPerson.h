#pragma once
// CDialogAddPerson: before a new student is entered, the user types the last and first name and
// the dialog lists the students whose name begins with the typed last name, so that an existing
// record can be taken instead of making a second one. The result is a person code (an existing
// student taken), -2 (add a new person with the typed names) or -1 (cancelled). Enter never ends
// the dialog by itself: the template has no OK button, and a result of 1 would read as a code.

#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CDatabase;

class CDialogAddPerson : public ui::Dialog {
public:
    static constexpr int kIdLastName = 1362;
    static constexpr int kIdFirstName = 1024;
    static constexpr int kIdAddNew = 1000;
    static constexpr int kIdList = 1644;
    static constexpr int kIdSelect = 2019;
    static constexpr int kResultNew = -2;
    static constexpr int kResultCancel = -1;

    CDialogAddPerson(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;
    void OnShowWindow(bool show) override;
    void OnDestroy() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    void OnLastNameChanged();
    void OnSelect();
    void OnAddNew();

    CDatabase* m_pDB;
    std::vector<std::string> m_aNames;
    std::vector<std::string> m_aLowerNames;
    std::vector<uint32_t> m_aCodes;
    std::string m_strFirstName;
    std::string m_strLastName;

private:
    bool m_bRefreshHeld = false;
};
