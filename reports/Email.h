#pragma once
// CEmail: one message handed to the desk's mail system (host::SendMail), which shows it in the
// mail client's compose window or passes it to the set mail program. Callers: construct, Load,
// and only when it returned 0, Send then Unload. The result is told in the Simple MAPI words.

#include "platform/host/Mail.h"

#include <string>
#include <vector>

class CEmail {
public:
    // recipientClass 1 to, 2 copy, 3 blind copy. One recipient per address; the i-th name goes
    // with the i-th address, and an address without a name serves as its own name.
    CEmail(const std::string& subject, const std::string& noteText, int recipientClass,
           const std::vector<std::string>& names, const std::vector<std::string>& addresses,
           const std::vector<std::string>& attachments);

    // 0 when the mail program can be started, 2 when it cannot.
    int Load();
    // Hands the message over and tells the result (GetResponse).
    void Send();
    void Unload();

    // The text told for a result (empty: nothing is told).
    static std::string ResultText(int result, bool withAttachments);

    const host::MailMessage& GetMessage() const { return m_Message; }
    int GetLastResult() const { return m_nLastResult; }

private:
    host::MailMessage m_Message;
    bool m_bLoaded = false;
    int m_nLastResult = -1;
};
