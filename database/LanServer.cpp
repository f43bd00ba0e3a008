// CLanServer: listening, receiving, sending, the computer list and log messages.

#include "database/LanServer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "archive/Crc32.h"
#include "common/Diagnostic.h"
#include "common/TextFile.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Clock.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/HostName.h"
#include "platform/host/Path.h"
#include "platform/host/Socket.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kListenBacklog = 10;
// Ports below this are reserved to the system.
constexpr uint32_t kLowestPort = 1024;
// How long InitListening waits between looks at the listening thread.
constexpr uint32_t kListenPollMs = 10;

std::vector<std::string> SplitFields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        fields.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return fields;
}

// The computer part of a remote name "\\computer\share\...", upper case, no backslashes.
std::string ComputerOfRemoteName(const std::string& remote) {
    size_t start = 0;
    while (start < remote.size() && host::IsSeparator(remote[start])) ++start;
    size_t end = start;
    while (end < remote.size() && !host::IsSeparator(remote[end])) ++end;
    return host::NormaliseComputerName(remote.substr(start, end - start));
}

void TraceMsg(const std::string& text) {
    DiagnosticText = text;
    WriteDiagnosticMsg();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The incoming-message list

void CLanMessageList::Append(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.insert(m_lines.end(), lines.begin(), lines.end());
    }
    m_arrived.notify_all();
}

void CLanMessageList::Append(const std::string& line) {
    Append(std::vector<std::string>{line});
}

bool CLanMessageList::TakeFirst(std::string& line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_lines.empty()) return false;
    line = std::move(m_lines.front());
    m_lines.pop_front();
    return true;
}

size_t CLanMessageList::Size() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines.size();
}

void CLanMessageList::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

bool CLanMessageList::WaitForLines(uint32_t ms) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !m_lines.empty(); });
}

// ---------------------------------------------------------------------------------------------
// Framing

std::vector<std::string> CListeningThreadMemoryBuffer::TakeReceived(const char* data, size_t length) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const char* lf = static_cast<const char*>(std::memchr(data + start, '\n', length - start));
        size_t end = lf != nullptr ? static_cast<size_t>(lf - data) : length;
        if (m_bDiscarding) {
            if (lf == nullptr) return lines;
            m_bDiscarding = false;
        } else {
            m_sCarry.append(data + start, end - start);
            if (lf == nullptr) {
                if (m_sCarry.size() > kMaxCarry) {
                    ++m_nDropped;
                    if (DiagnosticLevel > 0)
                        TraceMsg(Format("**sockfcn_ReceiverThread unfinished line of %u bytes dropped at %s\n",
                                        static_cast<unsigned>(m_sCarry.size()), GetTimerText().c_str()));
                    m_sCarry.clear();
                    m_bDiscarding = true;
                }
                return lines;
            }
            std::string line;
            line.swap(m_sCarry);
            line.erase(std::remove(line.begin(), line.end(), '~'), line.end());
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines.push_back(std::move(line));
        }
        start = end + 1;
        if (start >= length) return lines;
    }
}

// ---------------------------------------------------------------------------------------------
// Free functions

std::string GetThisComputerName() {
    std::string name = host::ThisComputerName();
    return name.empty() ? std::string("unknown") : name;
}

std::string GetDriveRemoteName(char driveLetter) {
    std::optional<host::DriveEntry> drive = host::Drives::Find(driveLetter);
    if (!drive) return std::string();
    return host::RemoteHostOfPath(drive->folder);
}

std::string GetServerComputerFromPath(const std::string& path) {
    if (path.size() < 2) return std::string();
    std::string set = host::ServerComputerOverride();
    if (!set.empty()) return set;
    if (host::IsSeparator(path[0]) && host::IsSeparator(path[1]) && path[0] == '\\')
        return ComputerOfRemoteName(path);
    if (path[1] == ':') {
        std::string remote = GetDriveRemoteName(path[0]);
        return remote.empty() ? GetThisComputerName() : remote;
    }
    std::string hostPath;
    if (!host::ToHostPath(path, hostPath)) return std::string();
    if (!hostPath.empty() && hostPath[0] != '/') {
        std::string here;
        if (host::CurrentFolder(here)) {
            std::string hostHere;
            if (host::ToHostPath(here, hostHere)) hostPath = hostHere + "/" + hostPath;
        }
    }
    std::string remote = host::RemoteHostOfPath(hostPath);
    return remote.empty() ? GetThisComputerName() : remote;
}

void EnumerateNetworkComputers(std::vector<std::string>& list, const std::string& ownName,
                               int scope, int /*type*/) {
    // The current network context lists nothing here; the connected disk resources are the
    // network mounts.
    if (scope != 2) return;
    bool unreadable = false;
    for (const std::string& name : host::MountedNetworkHosts(&unreadable)) {
        if (name == ownName) continue;
        if (std::find(list.begin(), list.end(), name) != list.end()) continue;
        list.push_back(name);
    }
    // The list ends at "no more items"; any other failure of the enumeration is put on the list.
    if (unreadable) list.push_back("Error - no more items");
}

void GetComputerList(std::vector<std::string>& list, const std::string& ownName,
                     const std::string& listFile) {
    if (host::FileExists(listFile)) {
        std::vector<std::string> lines;
        ReadLinesFromFile(listFile, lines);
        for (const std::string& line : lines) {
            std::string name = host::NormaliseComputerName(line);
            if (name.empty() || name == ownName) continue;
            if (std::find(list.begin(), list.end(), name) != list.end()) continue;
            list.push_back(name);
        }
        return;
    }
    EnumerateNetworkComputers(list, ownName, 1, 0);
    EnumerateNetworkComputers(list, ownName, 2, 1);
    std::vector<std::string> lines = list;
    lines.push_back(ownName);
    WriteLinesToFile(listFile, lines);
}

uint16_t GetLanPort(const std::string& identity) {
    uint32_t crc = ZipCrc32(0, identity.data(), identity.size());
    // The test is made on the port itself: a CRC of 1024 or more can still have low 16 bits
    // below 1024.
    uint32_t port = crc & 0xFFFF;
    if (port < kLowestPort) port += kLowestPort;
    return static_cast<uint16_t>(port);
}

// ---------------------------------------------------------------------------------------------
// CLanServer

CLanServer::CLanServer() = default;

CLanServer::~CLanServer() {
    Stop();
}

bool CLanServer::InitListening(ui::Window** mainWindow, const std::string& identity,
                               uint8_t userCode, CLanMessageList* messages,
                               CDialogWaitBox* waitBox) {
    m_nPort = GetLanPort(identity);
    m_nUserCode = userCode;
    m_ppMainWindow = mainWindow;
    m_pMessages = messages;
    m_sListenAddress = host::ListenAddress();
    m_bStopped = false;
    m_bStopping = false;
    m_bListenFailed = false;
    m_sListenError.clear();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CLanServer::InitListening %s, port %u\n", identity.c_str(), m_nPort);
    if (waitBox != nullptr) waitBox->SetStepText("Initialize local area network listening function");
    m_ListenThread = std::thread(&CLanServer::ServerThread, this);
    {
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        m_aComputers.clear();
    }
    // The computers are told of this copy only once it listens, so that their answering
    // connections find it.
    for (;;) {
        if (m_bListening.load()) break;
        if (m_bListenFailed.load()) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CLanServer::InitListening port %u could not be listened on\n",
                                      m_nPort);
            return false;
        }
        if (waitBox != nullptr) {
            if (waitBox->PumpMessages() != 0) return false;
        } else {
            ui::Application::PumpMessages();
        }
        host::Clock::Sleep(kListenPollMs);
    }
    TestComputersOnLine(waitBox);
    return true;
}

void CLanServer::ServerThread() {
    int s = host::CreateTcpSocket();
    if (s == host::kInvalidSocket || !host::BindAndListen(s, m_sListenAddress, m_nPort, kListenBacklog)) {
        m_sListenError = host::LastSocketErrorText();
        if (DiagnosticLevel > 0)
            TraceMsg(Format("**sockfcn_ServerThread cannot listen on port %u: %s\n", m_nPort,
                            m_sListenError.c_str()));
        host::CloseSocket(s);
        m_bListenFailed = true;
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_connectionMutex);
        if (m_bStopping.load()) {
            host::CloseSocket(s);
            return;
        }
        m_nListenSocket = s;
    }
    m_bListening = true;
    while (!m_bStopping.load()) {
        int accepted = host::AcceptConnection(s);
        if (accepted == host::kInvalidSocket) {
            if (m_bStopping.load()) break;
            host::Clock::Sleep(kListenPollMs);
            continue;
        }
        ReapFinishedConnections();
        std::lock_guard<std::mutex> lock(m_connectionMutex);
        if (m_bStopping.load()) {
            host::CloseSocket(accepted);
            break;
        }
        auto connection = std::make_unique<Connection>();
        connection->nSocket = accepted;
        Connection* raw = connection.get();
        m_aConnections.push_back(std::move(connection));
        raw->thread = std::thread(&CLanServer::ReceiverThread, this, raw);
        if (DiagnosticLevel > 0)
            TraceMsg(Format("**sockfcn_ServerThread new client thread %u at %s\n",
                            static_cast<unsigned>(m_aConnections.size()), GetTimerText().c_str()));
    }
}

void CLanServer::ReceiverThread(Connection* connection) {
    CListeningThreadMemoryBuffer& buffer = connection->buffer;
    for (;;) {
        long n = host::ReceiveBytes(connection->nSocket, buffer.m_cBuffer,
                                    CListeningThreadMemoryBuffer::kReceiveSize);
        buffer.m_nReceived = n;
        if (n <= 0) break;
        buffer.m_cBuffer[n] = 0;
        if (DiagnosticLevel > 0) {
            std::string shown(buffer.m_cBuffer, static_cast<size_t>(n));
            std::replace(shown.begin(), shown.end(), '\n', '|');
            TraceMsg(Format("**sockfcn_ReceiverThread(%i) %s at %s\n", static_cast<int>(n),
                            shown.c_str(), GetTimerText().c_str()));
        }
        std::vector<std::string> lines = buffer.TakeReceived(buffer.m_cBuffer, static_cast<size_t>(n));
        if (lines.empty()) continue;
        for (const std::string& line : lines)
            if (line.find("LOG_") != std::string::npos) LogOnOrOff(line);
        if (m_pMessages != nullptr) m_pMessages->Append(lines);
        PostToMainWindow();
    }
    connection->bFinished = true;
    if (!m_bStopping.load()) CheckConnections();
}

void CLanServer::CheckConnections() {
    std::vector<std::string> lost;
    // The end of the connection from a computer and of the one to it arrive together, but not
    // necessarily in that order: look a few times.
    for (int look = 0; look < 3 && lost.empty() && !m_bStopping.load(); ++look) {
        if (look > 0) host::Clock::Sleep(50);
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        for (stNetworkName& e : m_aComputers) {
            if (e.nStatus != 1 || !host::IsPeerClosed(e.nSocket)) continue;
            CloseEntry(e);
            lost.push_back(Format("%s:%i:%s", e.sName.c_str(), static_cast<int>(e.nUserCode), "LOG_OFF"));
            if (DiagnosticLevel > 0)
                TraceMsg(Format("**CLanServer::CheckConnections %s closed its connection at %s\n",
                                e.sName.c_str(), GetTimerText().c_str()));
        }
        RecountOnLine();
    }
    if (lost.empty()) return;
    if (m_pMessages != nullptr) m_pMessages->Append(lost);
    PostToMainWindow();
}

void CLanServer::PostToMainWindow() {
    if (m_ppMainWindow != nullptr && *m_ppMainWindow != nullptr)
        ui::PostMessage(*m_ppMainWindow, WM_MAINFRAME_MSG, MAINFRAME_MSG_LAN, 0);
}

void CLanServer::ReapFinishedConnections() {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard<std::mutex> lock(m_connectionMutex);
        for (auto it = m_aConnections.begin(); it != m_aConnections.end();) {
            if ((*it)->bFinished.load()) {
                finished.push_back(std::move(*it));
                it = m_aConnections.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& c : finished) {
        if (c->thread.joinable()) c->thread.join();
        host::CloseSocket(c->nSocket);
    }
}

void CLanServer::RecountOnLine() {
    m_nComputersOnLine = 0;
    for (const stNetworkName& e : m_aComputers)
        if (e.nStatus == 1) ++m_nComputersOnLine;
}

void CLanServer::CloseEntry(stNetworkName& entry) {
    if (entry.nSocket != host::kInvalidSocket) host::CloseSocket(entry.nSocket);
    entry.nSocket = host::kInvalidSocket;
    entry.nStatus = 0;
}

uint32_t CLanServer::ConnectToHost(stNetworkName& entry) {
    entry.nStatus = 0;
    entry.nSocket = host::kInvalidSocket;
    uint32_t address = 0;
    int s = host::CreateTcpSocket();
    if (s == host::kInvalidSocket) return 0;
    if (!host::ResolveIPv4(entry.sName, address) || !host::ConnectSocket(s, address, m_nPort)) {
        host::CloseSocket(s);
        return 0;
    }
    entry.nSocket = s;
    entry.nStatus = 1;
    return 1;
}

int CLanServer::DoSend(stNetworkName& entry, const std::string& text, int index) {
    std::string wire = text + "~\n";
    // A peer that has gone away is found before the send, which would otherwise still succeed.
    long sent = entry.nStatus == 1 && !host::IsPeerClosed(entry.nSocket)
                    ? host::SendBytes(entry.nSocket, wire.data(), wire.size())
                    : -1;
    if (DiagnosticLevel > 0)
        TraceMsg(Format("**CLanServer::DoSend(%i) %s:%s at %s\n", static_cast<int>(sent),
                        entry.sName.c_str(), text.c_str(), GetTimerText().c_str()));
    if (sent == static_cast<long>(wire.size())) return 1;
    if (index >= 0) {
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        if (static_cast<size_t>(index) < m_aComputers.size() && &m_aComputers[index] == &entry) {
            CloseEntry(entry);
            RecountOnLine();
        }
    }
    return 0;
}

int CLanServer::SendToComputer(const std::string& computer, const std::string& text) {
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    for (size_t i = 0; i < m_aComputers.size(); ++i) {
        stNetworkName& e = m_aComputers[i];
        if (e.sName == computer && e.nStatus == 1) return DoSend(e, text, static_cast<int>(i));
    }
    return 0;
}

void CLanServer::SendToAll(const std::string& text) {
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    for (stNetworkName& e : m_aComputers)
        if (e.nStatus == 1) DoSend(e, text, -1);
}

void CLanServer::LogOnOrOff(const std::string& text) {
    std::vector<std::string> fields = SplitFields(text, ':');
    if (fields.size() < 3) return;
    const std::string& sender = fields[0];
    uint8_t code = static_cast<uint8_t>(std::strtoul(fields[1].c_str(), nullptr, 10));
    const std::string& keyword = fields[2];
    if (keyword == "LOG_ON") {
        // Connect outside the list's lock: a connect may take time.
        stNetworkName fresh;
        fresh.sName = sender;
        {
            std::lock_guard<std::recursive_mutex> lock(m_listMutex);
            bool known = std::any_of(m_aComputers.begin(), m_aComputers.end(),
                                     [&](const stNetworkName& e) { return e.sName == sender; });
            if (!known) return;
        }
        ConnectToHost(fresh);
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        bool used = false;
        for (stNetworkName& e : m_aComputers) {
            if (e.sName != sender) continue;
            CloseEntry(e);
            e.nUserCode = code;
            if (!used) {
                e.nStatus = fresh.nStatus;
                e.nSocket = fresh.nSocket;
                used = true;
                if (e.nStatus == 1)
                    DoSend(e, Format("%s:%i:%s", m_sOwnName.c_str(), static_cast<int>(m_nUserCode.load()),
                                     "LOG_ON_ACKNOWLEDGE"),
                           -1);
            }
        }
        if (!used) host::CloseSocket(fresh.nSocket);
        RecountOnLine();
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    for (stNetworkName& e : m_aComputers) {
        if (e.sName != sender) continue;
        if (keyword == "LOG_OFF") {
            CloseEntry(e);
            e.nUserCode = code;
        } else if (keyword == "LOG_ON_ACKNOWLEDGE") {
            e.nUserCode = code;
            if (DiagnosticLevel > 0)
                TraceMsg(Format("**CLanServer::LogOnOrOff Acknowledge user %i at %s\n", code,
                                GetTimerText().c_str()));
        } else if (keyword == "LOG_ON_SWITCH_USER") {
            e.nUserCode = code;
            if (DiagnosticLevel > 0)
                TraceMsg(Format("**CLanServer::LogOnOrOff switch user %i at %s\n", code,
                                GetTimerText().c_str()));
        }
    }
    RecountOnLine();
}

void CLanServer::TestComputersOnLine(CDialogWaitBox* waitBox) {
    m_sOwnName = GetThisComputerName();
    std::vector<std::string> names;
    ::GetComputerList(names, m_sOwnName, m_sComputerListFile);
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    m_nComputersOnLine = 0;
    for (const std::string& name : names) {
        if (waitBox != nullptr) waitBox->SetStepText(Format("Test for computer %s on-line", name.c_str()));
        stNetworkName entry;
        entry.sName = name;
        ConnectToHost(entry);
        m_aComputers.push_back(entry);
        stNetworkName& added = m_aComputers.back();
        if (added.nStatus == 1)
            DoSend(added, Format("%s:%i:%s", m_sOwnName.c_str(), static_cast<int>(m_nUserCode.load()), "LOG_ON"),
                   static_cast<int>(m_aComputers.size() - 1));
    }
    RecountOnLine();
}

void CLanServer::Stop() {
    if (m_bStopped) return;
    m_bStopped = true;
    {
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        std::string logOff = Format("%s:%i:%s", m_sOwnName.c_str(), static_cast<int>(m_nUserCode.load()), "LOG_OFF");
        for (stNetworkName& e : m_aComputers) {
            if (e.nStatus == 1) DoSend(e, logOff, -1);
            CloseEntry(e);
        }
        m_nComputersOnLine = 0;
    }
    int listening;
    {
        std::lock_guard<std::mutex> lock(m_connectionMutex);
        m_bStopping = true;
        listening = m_nListenSocket.exchange(host::kInvalidSocket);
    }
    host::ShutdownSocket(listening);
    if (m_ListenThread.joinable()) m_ListenThread.join();
    host::CloseSocket(listening);
    std::list<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard<std::mutex> lock(m_connectionMutex);
        connections.swap(m_aConnections);
    }
    for (auto& c : connections) host::ShutdownSocket(c->nSocket);
    for (auto& c : connections) {
        if (c->thread.joinable()) c->thread.join();
        host::CloseSocket(c->nSocket);
    }
    m_bListening = false;
}

std::vector<stNetworkName> CLanServer::GetComputerList() const {
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    return m_aComputers;
}

uint32_t CLanServer::GetComputersOnLine() const {
    std::lock_guard<std::recursive_mutex> lock(m_listMutex);
    return m_nComputersOnLine;
}
