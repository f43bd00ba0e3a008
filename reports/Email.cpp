#include "reports/Email.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"

CEmail::CEmail(const std::string& subject, const std::string& noteText, int recipientClass,
               const std::vector<std::string>& names, const std::vector<std::string>& addresses,
               const std::vector<std::string>& attachments)
{
    m_Message.subject = subject;
    m_Message.body = noteText;
    m_Message.recipientClass = recipientClass;
    m_Message.addresses = addresses;
    for (size_t i = 0; i < addresses.size(); ++i)
        m_Message.names.push_back(i < names.size() && !names[i].empty() ? names[i] : addresses[i]);
    m_Message.attachments = attachments;
}

int CEmail::Load()
{
    WriteDiagnosticFormat("CEmail::Load\n");
    m_bLoaded = host::IsMailProgramAvailable();
    return m_bLoaded ? 0 : 2;
}

void CEmail::Unload() { m_bLoaded = false; }

std::string CEmail::ResultText(int result, bool withAttachments)
{
    switch (result) {
    case 0:
        return "The email operation succeeded. If you clicked 'Send' the message was put in out box.";
    case 1:
        return "The user canceled one of the dialog boxes. No message was sent. ";
    case 2:
        return withAttachments
                   ? "One or more unspecified errors occurred. Possibly attached files not found. No message was sent. "
                   : "One or more unspecified errors occurred. No message was sent. ";
    case 3:
        return "There was no default logon, and the user failed to log on successfully when the logon dialog box was displayed. No message was sent. ";
    case 5:
        return "There was insufficient memory to proceed. No message was sent. ";
    case 9:
        return "There were too many file attachments. No message was sent. ";
    case 10:
        return "There were too many recipients. No message was sent. ";
    case 11:
        return "The specified attachment was not found. No message was sent. ";
    case 12:
        return "The specified attachment could not be opened. No message was sent. ";
    case 14:
        return "A recipient did not appear in the address list. No message was sent.";
    case 15:
        return "The type of a recipient was not MAPI_TO, MAPI_CC, or MAPI_BCC. No message was sent.";
    case 18:
        return "The text in the message was too large. No message was sent. ";
    case 21:
        return "A recipient matched more than one of the recipient descriptor structures and MAPI_DIALOG was not set. No message was sent.";
    case 25:
        return "One or more recipients were invalid or did not resolve to any address. ";
    default:
        return std::string();
    }
}

void CEmail::Send()
{
    if (!m_bLoaded) return;
    // The log-on of the mail system has no counterpart here: it always succeeds.
    m_nLastResult = host::SendMail(m_Message);
    WriteDiagnosticFormat("CEmail::Send result %i\n", m_nLastResult);
    std::string text = ResultText(m_nLastResult, !m_Message.attachments.empty());
    if (!text.empty()) GetResponse(text, 0, 0);
}
