// CDbEngine: the messages between running copies: formatting, parsing, routing, processing on
// the main thread, and the LAN link's start-up and on-line state.

#include "database/DbEngine.h"

#include <algorithm>
#include <cstdlib>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Beep.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/host/Socket.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace {

// Log-on acknowledgements arrive within this time of the log-on.
constexpr uint64_t kAcknowledgeWaitMs = 500;

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(':', start);
        fields.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return fields;
        start = at + 1;
    }
}

const char* TypeName(char type) {
    switch (type) {
    case 'L': return "MSG_REQUESTLOCK";
    case 'l': return "MSG_GRANTLOCK";
    case 'u': return "MSG_DATAUNLOCKED";
    case 'M': return "MSG_DATAMODIFIED";
    default: return "NULL_MESSAGE";
    }
}

void TraceMsg(const std::string& text) {
    DiagnosticText = text;
    WriteDiagnosticMsg();
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Texts

std::string CDbEngine::FormatLanMessage(char type, uint8_t kind, uint32_t value) {
    if (m_pLanServer == nullptr) return std::string();
    ++m_nMessageSequence;
    return Format("%s:%c:%i:%i:%i:%u", m_sComputerName.c_str(), type,
                  static_cast<int>(GetCurrentUserCode()), static_cast<int>(kind),
                  static_cast<int>(value), m_nMessageSequence);
}

stLanMessage CDbEngine::ParseLanMessage(const std::string& text) {
    stLanMessage m;
    std::vector<std::string> f = SplitColons(text);
    if (f.size() < 6) return m;
    m.sSender = f[0];
    m.cType = f[1].empty() ? 0 : f[1][0];
    m.nUserCode = static_cast<uint8_t>(std::strtol(f[2].c_str(), nullptr, 10));
    m.nKind = static_cast<uint8_t>(std::strtol(f[3].c_str(), nullptr, 10));
    // Written signed: values above 2147483647 come back negative and keep their 32 bits.
    m.nValue = static_cast<uint32_t>(std::strtoll(f[4].c_str(), nullptr, 10));
    return m;
}

std::string CDbEngine::DescribeLanMessage(const std::string& text) {
    std::vector<std::string> f = SplitColons(text);
    if (f.size() < 6) return text;
    stLanMessage m = ParseLanMessage(text);
    unsigned sequence = static_cast<unsigned>(std::strtoul(f[5].c_str(), nullptr, 10));
    std::string target;
    int kind = m.nKind;
    if (m.nKind == LOCK_KIND_HEADER)
        target = Format("header file location %u", m.nValue);
    else if (m.nKind == LOCK_KIND_DATABASE && m.nValue == LOCK_VALUE_WHOLE)
        target = "database";
    else if (m.nValue == LOCK_VALUE_WHOLE)
        target = Format("table %i", kind);
    else if (m.nValue == LOCK_VALUE_SEQUENCE)
        target = Format("table %i resequence", kind);
    else
        target = Format("table %i, key %u", kind, m.nValue);
    return Format("%s %s %s", Format("[%s#%u]", m.sSender.c_str(), sequence).c_str(),
                  Format("%s:%s", m.sSender.c_str(), TypeName(m.cType)).c_str(), target.c_str());
}

// ---------------------------------------------------------------------------------------------
// Sending

int CDbEngine::SendAnotherUserMessage(const std::string& computer, char type, uint8_t kind,
                                      uint32_t value) {
    if (m_pLanServer == nullptr) return 0;
    std::string text = FormatLanMessage(type, kind, value);
    if (DiagnosticLevel > 0)
        TraceMsg(Format("CDbEngine::SendAnotherUserMessage to user %s, %s, at %s\n", computer.c_str(),
                        DescribeLanMessage(text).c_str(), GetTimerText().c_str()));
    if (m_pLanServer->SendToComputer(computer, text) == 1) return 1;
    if (DiagnosticLevel > 0)
        TraceMsg(Format("CDbEngine::SendAnotherUserMessage failed for user %s\n", computer.c_str()));
    RecountLanUsers();
    if (!m_sLockMngrName.empty() && computer == m_sLockMngrName) {
        OnServerOffLine();
    } else if (m_sLockMngrName == m_sComputerName) {
        // This copy is the manager: what the unreachable copy held or asked for goes to others.
        DropLocksOfComputer(computer);
    }
    return 0;
}

void CDbEngine::SendThisUserMessage(char type, uint8_t kind, uint32_t value) {
    std::string text = FormatLanMessage(type, kind, value);
    if (DiagnosticLevel > 0)
        TraceMsg(Format("CDbEngine::SendThisUserMessage %s, at %s\n", DescribeLanMessage(text).c_str(),
                        GetTimerText().c_str()));
    m_IncomingMessages.Append(text);
    if (m_pMessageWindow != nullptr)
        ui::PostMessage(m_pMessageWindow, WM_MAINFRAME_MSG, MAINFRAME_MSG_LAN, 0);
}

void CDbEngine::SendOnLineUsersMessage(char type, uint8_t kind, uint32_t value) {
    if (m_pLanServer == nullptr) return;
    std::string text = FormatLanMessage(type, kind, value);
    if (DiagnosticLevel > 0)
        TraceMsg(Format("CDbEngine::SendOnLineUsersMessage %s, at %s\n", DescribeLanMessage(text).c_str(),
                        GetTimerText().c_str()));
    m_pLanServer->SendToAll(text);
}

void CDbEngine::SendDataModifiedNotices(uint32_t table, uint32_t key, uint32_t loc) {
    host::WaitCursor wait;
    if (m_pLanServer != nullptr) {
        bool ownLocSent = false;
        for (uint32_t written : m_aWrittenLocs) {
            SendOnLineUsersMessage('M', LOCK_KIND_HEADER, written);
            if (written == loc) ownLocSent = true;
        }
        if (!ownLocSent) SendOnLineUsersMessage('M', static_cast<uint8_t>(table), key);
    }
    m_aWrittenLocs.clear();
    SetDataChangedFlags();
}

void CDbEngine::SendLogMessage(const std::string& keyword) {
    if (m_pLanServer == nullptr) return;
    m_pLanServer->SetUserCode(GetCurrentUserCode());
    m_pLanServer->SendToAll(Format("%s:%i:%s", m_sComputerName.c_str(),
                                   static_cast<int>(GetCurrentUserCode()), keyword.c_str()));
}

// ---------------------------------------------------------------------------------------------
// Processing

void CDbEngine::OnMessage() {
    if (DiagnosticLevel > 0)
        TraceMsg(Format("CDbEngine::OnMessage total number = %i, at %s\n",
                        static_cast<int>(m_IncomingMessages.Size()), GetTimerText().c_str()));
    std::string line;
    while (m_IncomingMessages.TakeFirst(line)) {
        if (DiagnosticLevel > 0)
            TraceMsg(Format("CDbEngine::OnMessage %s\n", DescribeLanMessage(line).c_str()));
        stLanMessage m = ParseLanMessage(line);
        stLockSpec spec{m.sSender, m.nKind, m.nValue};
        switch (m.cType) {
        case 'M':
            m_aRefreshFlags.push_back({m.nUserCode, m.nKind, m.nValue});
            break;
        case 'L':
            ProcessUserLockRequest(spec);
            break;
        case 'u':
            ProcessUserUnlockNotice(spec);
            break;
        case 'l': {
            bool awaited = m_bWaitingForLock && m.nKind == m_nWaitKind && m.nValue == m_nWaitValue;
            bool held = std::any_of(m_aHeldPermissions.begin(), m_aHeldPermissions.end(),
                                    [&](const stLockSpec& h) { return h.nKind == m.nKind && h.nValue == m.nValue; });
            if (awaited) {
                m_aLockResponses.push_back(spec);
            } else if (!held && m.sSender == m_sLockMngrName) {
                // The grant of a wait that was given up: hand it back at once.
                if (DiagnosticLevel > 0)
                    TraceMsg(Format("CDbEngine::OnMessage grant not awaited, returned: %s\n", line.c_str()));
                if (m_sLockMngrName == m_sComputerName)
                    SendThisUserMessage('u', m.nKind, m.nValue);
                else
                    SendAnotherUserMessage(m_sLockMngrName, 'u', m.nKind, m.nValue);
            }
            break;
        }
        default:
            if (line.find("LOG_") != std::string::npos) {
                UpdateOnLineState();
            } else if (line.find("AUTO_TEST") != std::string::npos) {
                if (m_pMessageWindow != nullptr)
                    ui::PostMessage(m_pMessageWindow, WM_MAINFRAME_MSG, MAINFRAME_MSG_AUTO_TEST, 0);
            }
            break;
        }
    }
    if (!m_aRefreshFlags.empty() && !m_bIsRefreshInProcess)
        LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
}

bool CDbEngine::LockAndRefreshDatabase(const std::string&, uint32_t, int, int, int) {
    // The tables side applies the flags; the engine alone has nothing in memory to refresh.
    return false;
}

// ---------------------------------------------------------------------------------------------
// LAN link

bool CDbEngine::InitializeLan(const std::string& path) {
    m_sServerComputer = GetServerComputerFromPath(path);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::InitializeLan %s, server %s\n", path.c_str(),
                              m_sServerComputer.c_str());
    if (m_sServerComputer.empty()) return false;
    if (m_pLanServer != nullptr) StopLanServer();
    m_sLockMngrName.clear();
    m_bLockMngrOnLine = false;
    if (!host::SocketsStartup() || m_bNetworkDisabled) {
        m_sComputerName = GetThisComputerName();
        m_sLockMngrName.clear();
        m_bLockMngrOnLine = false;
        return true;
    }
    CDialogWaitBox* box = ShowWaitBox("Initialize local area network.", true, 0);
    std::string identity =
        UpperCase(Format("%s.%s", m_sServerComputer.c_str(), host::FileNamePart(path).c_str()));
    m_pLanServer = new CLanServer();
    if (!m_pLanServer->InitListening(&m_pMessageWindow, identity, GetCurrentUserCode(),
                                     &m_IncomingMessages, box)) {
        const bool failed = m_pLanServer->ListenFailed();
        const std::string address = m_pLanServer->GetListenAddress();
        const std::string reason = m_pLanServer->GetListenError();
        const uint16_t port = m_pLanServer->GetPort();
        delete m_pLanServer;
        m_pLanServer = nullptr;
        CloseWaitBox(box);
        // An abort was the user's own; a port that cannot be listened on is said.
        if (failed)
            GetResponse(Format("The local area network could not be started: port %u at %s cannot be "
                               "listened on (%s).\nAnother copy of the program on this computer may be "
                               "using that address.",
                               static_cast<unsigned>(port), address.empty() ? "every address" : address.c_str(),
                               reason.c_str()),
                        MB_OK);
        return false;
    }
    m_sComputerName = m_pLanServer->GetOwnName();
    // Log-on acknowledgements arrive meanwhile.
    uint64_t until = host::Clock::TickCount() + kAcknowledgeWaitMs;
    while (host::Clock::TickCount() < until) {
        box->PumpMessages();
        host::Clock::Sleep(10);
    }
    box->SetStepText("Test for duplicate user");
    if (IsDuplicateUser()) {
        CloseWaitBox(box);
        StopLanServer();
        GetResponse("Duplicate user. Abort.", MB_OK);
        return false;
    }
    box->SetStepText("Determine server computer");
    RecountLanUsers();
    UpdateUserCount();
    if (!DetermineLockMngr(m_sServerComputer)) {
        CloseWaitBox(box);
        std::string question = Format(
            "READ THIS CAREFULLY\nThe local area network server is not on line (does not have the "
            "database open).\nYou should abort unless you are sure that:\n(1) the computer %s is "
            "turned on and connected to the network, and\n(2) no other users are accessing the "
            "database.\nDo you want to abort?",
            m_sServerComputer.c_str());
        if (GetResponse(question, MB_YESNO) == IDYES) {
            StopLanServer();
            return false;
        }
        return true;
    }
    CloseWaitBox(box);
    return true;
}

void CDbEngine::StopLanServer() {
    if (m_pLanServer != nullptr) {
        m_pLanServer->Stop();
        delete m_pLanServer;
        m_pLanServer = nullptr;
    }
    m_nOtherUsersOnLan = 0;
    m_nUsersOnLine = 1;
    m_bLockMngrOnLine = false;
    m_sLockMngrName.clear();
    m_aHeldPermissions.clear();
}

bool CDbEngine::IsDuplicateUser() {
    if (m_pLanServer == nullptr) return false;
    bool duplicate = false;
    for (const stNetworkName& e : m_pLanServer->GetComputerList()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat(e.nStatus == 1 ? "CDbEngine::IsDuplicateUser, user %s, number %i, on-line\n"
                                                 : "CDbEngine::IsDuplicateUser, user %s, number %i, off-line\n",
                                  e.sName.c_str(), static_cast<int>(e.nUserCode));
        if (e.nStatus == 1 && e.nUserCode == GetCurrentUserCode()) duplicate = true;
    }
    return duplicate;
}

void CDbEngine::RecountLanUsers() {
    m_nOtherUsersOnLan = m_pLanServer != nullptr ? m_pLanServer->GetComputersOnLine() : 0;
}

uint32_t CDbEngine::UpdateUserCount() {
    m_nUsersOnLine = m_pLanServer != nullptr ? 1 + m_nOtherUsersOnLan : 1;
    return m_nUsersOnLine;
}

void CDbEngine::UpdateOnLineState() {
    if (m_pLanServer == nullptr) return;
    RecountLanUsers();
    bool isManager = !m_sLockMngrName.empty() && m_sLockMngrName == m_sComputerName;
    for (const stNetworkName& e : m_pLanServer->GetComputerList()) {
        if (e.nStatus == 1) {
            if (e.sName == m_sServerComputer && !m_bLockMngrOnLine && !isManager) {
                GetResponse(Format("Server %s coming on-line.\n", e.sName.c_str()), MB_OK);
                m_sLockMngrName = e.sName;
                m_bLockMngrOnLine = true;
            }
        } else {
            if (isManager) DropLocksOfComputer(e.sName);
            if (!m_sLockMngrName.empty() && e.sName == m_sLockMngrName) OnServerOffLine();
        }
    }
    UpdateUserCount();
}

void CDbEngine::OnServerOffLine() {
    host::Beep(1000, 1000);
    int answer = GetResponse(Format("Server %s off-line. Close database?\n", m_sLockMngrName.c_str()), MB_YESNO);
    if (answer == IDYES) {
        if (m_pMessageWindow != nullptr)
            ui::PostMessage(m_pMessageWindow, WM_MAINFRAME_MSG, MAINFRAME_MSG_CLOSE_DATABASE, 0);
    } else {
        RecountLanUsers();
        UpdateUserCount();
    }
    m_bLockMngrOnLine = false;
}

bool CDbEngine::IsUserOnLan(uint8_t userCode, std::string& computer) const {
    if (m_pLanServer == nullptr) return false;
    for (const stNetworkName& e : m_pLanServer->GetComputerList()) {
        if (e.nStatus == 1 && e.nUserCode == userCode) {
            computer = e.sName;
            return true;
        }
    }
    return false;
}

std::vector<std::string> CDbEngine::GetLanComputerLines() const {
    std::vector<std::string> lines;
    if (m_pLanServer == nullptr) return lines;
    for (const stNetworkName& e : m_pLanServer->GetComputerList())
        lines.push_back(Format(e.nStatus == 1 ? "%s on-line" : "%s off-line", e.sName.c_str()));
    return lines;
}
