#pragma once
// CLanServer: carries text messages between the running copies that share one database. Every
// copy listens on the port derived from the database's identity and keeps one outgoing
// connection to each other computer on line. A message on the wire is its text, "~" and a line
// feed. A listening thread accepts connections and starts one receiver thread per connection;
// receivers append the complete lines to the engine's incoming-message list and post the main
// window's message 0x404 (first parameter 1), so the main thread processes them.
//
// Threads: the computer list is guarded by one mutex (receivers change it on log messages while
// the main thread sends on it); the incoming-message list guards itself. Stop ends every thread
// by shutting its socket down and joining it, then closes every socket.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "database/NetworkName.h"

namespace ui {
class Window;
}
class CDialogWaitBox;

// The main frame's own window message and its first parameters.
constexpr uint32_t WM_MAINFRAME_MSG = 0x404;
constexpr uintptr_t MAINFRAME_MSG_LAN = 1;
constexpr uintptr_t MAINFRAME_MSG_CLOSE_DATABASE = 2;
constexpr uintptr_t MAINFRAME_MSG_AUTO_TEST = 3;

// The engine's incoming-message list: lines in arrival order, appended by the receiver threads
// and by messages a copy sends itself, taken from the front by the main thread.
class CLanMessageList {
public:
    void Append(const std::vector<std::string>& lines);
    void Append(const std::string& line);
    // Takes the first line; false when the list is empty.
    bool TakeFirst(std::string& line);
    size_t Size() const;
    void Clear();
    // Waits until the list holds a line or `ms` milliseconds have passed; true when it holds one.
    bool WaitForLines(uint32_t ms) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::deque<std::string> m_lines;
};

// One accepted connection's receive state: the framing of the byte stream into lines.
class CListeningThreadMemoryBuffer {
public:
    // Bytes of one receive.
    static constexpr size_t kReceiveSize = 1024;
    // Longest unfinished line carried between receives; a longer one is dropped.
    static constexpr size_t kMaxCarry = 16 * 1024;

    // Takes the bytes of one receive and gives the complete lines they finish, in order, each
    // without its "~" characters. A line is complete at its line feed; the text after the last
    // line feed is carried to the next receive. Empty lines are dropped.
    std::vector<std::string> TakeReceived(const char* data, size_t length);
    const std::string& GetCarry() const { return m_sCarry; }
    // Lines dropped for being too long.
    uint32_t GetDroppedLines() const { return m_nDropped; }

    char m_cBuffer[kReceiveSize + 1] = {};
    long m_nReceived = 0;

private:
    std::string m_sCarry;
    bool m_bDiscarding = false;  // inside an over-long line, until its line feed
    uint32_t m_nDropped = 0;
};

class CLanServer {
public:
    CLanServer();
    ~CLanServer();
    CLanServer(const CLanServer&) = delete;
    CLanServer& operator=(const CLanServer&) = delete;

    // Starts listening on the identity's port, builds the computer list and logs on to each
    // computer. True once the listening socket is up; false when the user aborted or the port
    // could not be listened on.
    bool InitListening(ui::Window** mainWindow, const std::string& identity, uint8_t userCode,
                       CLanMessageList* messages, CDialogWaitBox* waitBox);
    // Opens the entry's outgoing connection (status 1) or leaves it unconnected (status 0,
    // socket -1). Returns the status.
    uint32_t ConnectToHost(stNetworkName& entry);
    // Sends text + "~\n" on the entry's socket: 1 sent, 0 not. A failed send to an entry of the
    // list (index >= 0) marks it unconnected and closes its socket.
    int DoSend(stNetworkName& entry, const std::string& text, int index);
    int SendToComputer(const std::string& computer, const std::string& text);
    void SendToAll(const std::string& text);
    // Applies a received "%s:%i:%s" log message to the computer list.
    void LogOnOrOff(const std::string& text);
    void TestComputersOnLine(CDialogWaitBox* waitBox);
    // Logs off, ends every thread and closes every socket. Safe to call more than once.
    void Stop();

    // A copy of the computer list, taken in one step.
    std::vector<stNetworkName> GetComputerList() const;
    uint32_t GetComputersOnLine() const;
    const std::string& GetOwnName() const { return m_sOwnName; }
    uint16_t GetPort() const { return m_nPort; }
    uint8_t GetUserCode() const { return m_nUserCode; }
    void SetUserCode(uint8_t code) { m_nUserCode = code; }
    bool IsListening() const { return m_bListening.load(); }
    // After InitListening gave false: true when the port could not be listened on (not an
    // abort), with the system's reason.
    bool ListenFailed() const { return m_bListenFailed.load(); }
    const std::string& GetListenError() const { return m_sListenError; }
    // The address listened on; empty for every local address.
    const std::string& GetListenAddress() const { return m_sListenAddress; }

    // The computer list file (relative: in the current folder, which is the program's folder).
    std::string m_sComputerListFile = "Dorvalquintex.usr";

private:
    struct Connection {
        int nSocket = -1;
        std::thread thread;
        CListeningThreadMemoryBuffer buffer;
        std::atomic<bool> bFinished{false};
    };

    void ServerThread();
    void ReceiverThread(Connection* connection);
    void PostToMainWindow();
    // A computer whose connection closed without its log-off (it ended or crashed) counts as
    // logged off: its entry is closed and a log-off line goes to the engine.
    void CheckConnections();
    // Joins and closes connections whose receiver has ended.
    void ReapFinishedConnections();
    void RecountOnLine();  // caller holds m_listMutex
    void CloseEntry(stNetworkName& entry);  // caller holds m_listMutex

    uint16_t m_nPort = 0;
    std::atomic<uint8_t> m_nUserCode{255};
    std::string m_sOwnName;
    std::string m_sListenAddress;
    std::string m_sListenError;  // written before m_bListenFailed is set
    ui::Window** m_ppMainWindow = nullptr;
    CLanMessageList* m_pMessages = nullptr;

    std::thread m_ListenThread;
    std::atomic<int> m_nListenSocket{-1};
    std::atomic<bool> m_bListening{false};
    std::atomic<bool> m_bListenFailed{false};
    std::atomic<bool> m_bStopping{false};
    bool m_bStopped = false;

    std::mutex m_connectionMutex;
    std::list<std::unique_ptr<Connection>> m_aConnections;

    mutable std::recursive_mutex m_listMutex;
    std::vector<stNetworkName> m_aComputers;
    uint32_t m_nComputersOnLine = 0;
};

// This computer's name (at most 15 characters, upper case), "unknown" when the system cannot
// tell.
std::string GetThisComputerName();
// The computer that holds the database folder: a network mount names its host, a local path
// names this computer; DORVALQUINTEX_SERVER overrides both. Empty for a path under 2 characters.
std::string GetServerComputerFromPath(const std::string& path);
// The remote computer of a drive letter's folder, empty when the drive is local or not mapped.
std::string GetDriveRemoteName(char driveLetter);
// The computers found on the network; scope 1 the current network context, 2 the connected
// disk resources (network mounts). Skips the own name and names already listed.
void EnumerateNetworkComputers(std::vector<std::string>& list, const std::string& ownName,
                               int scope, int type);
// The computers to contact: the list file's lines, else the network, written to the file.
void GetComputerList(std::vector<std::string>& list, const std::string& ownName,
                     const std::string& listFile = "Dorvalquintex.usr");
// The TCP port of a database identity ("%s.%s" of server computer and file name).
uint16_t GetLanPort(const std::string& identity);
