#pragma once
// "Studio data": the studio's name, code, address, telephone, fax and e-mail addresses. The
// caller sets the twelve strings before DoModal; OK copies the edits back into them, Cancel
// leaves them as they were.

#include "platform/ui/Dialog.h"

#include <string>

class CDatabase;

class CDialogStudioData : public ui::Dialog {
public:
    explicit CDialogStudioData(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    std::string m_strName;
    std::string m_strCode;
    std::string m_strAddress1;
    std::string m_strAddress2;
    std::string m_strCity;
    std::string m_strState;
    std::string m_strZip;
    std::string m_strPhone;
    std::string m_strFax;
    std::string m_strEmail;
    std::string m_strCountry;
    std::string m_strReportEmail;

private:
    CDatabase* m_pDB;
    // The edits' values between the controls and the caller's strings.
    std::string m_aValues[12];
};
