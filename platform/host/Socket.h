#pragma once
// TCP sockets for the messages between running copies, in place of Windows Sockets 1.1. A
// socket is a plain descriptor (kInvalidSocket when none). Sends never raise SIGPIPE; a peer
// that went away makes them fail instead.

#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

using Socket = int;
constexpr Socket kInvalidSocket = -1;

// In place of WSAStartup: true unless a test made start-up fail.
bool SocketsStartup();
// Test hook: makes SocketsStartup fail (or work again).
void SetSocketsStartupFailsForTesting(bool fails);

// A new TCP stream socket, or kInvalidSocket.
Socket CreateTcpSocket();
// Binds to the IPv4 address (dotted text; empty: any local address) and the port, allowing
// the address to be reused at once after a copy ended, and listens.
bool BindAndListen(Socket s, const std::string& address, uint16_t port, int backlog);
// Waits for a connection; kInvalidSocket on failure (also when the socket was shut down).
Socket AcceptConnection(Socket listening);
// The IPv4 address of a computer: a dotted address as it is, otherwise looked up by name.
// False when it cannot be found.
bool ResolveIPv4(const std::string& computer, uint32_t& addressNetworkOrder);
// Connects to the address (network byte order) and port.
bool ConnectSocket(Socket s, uint32_t addressNetworkOrder, uint16_t port);
// Sends all bytes in one call; the byte count sent, or -1.
long SendBytes(Socket s, const void* data, size_t length);
// Receives up to `length` bytes: the count, 0 when the peer closed, -1 on failure.
long ReceiveBytes(Socket s, void* buffer, size_t length);
// True when the peer of a connection has closed it or it has failed: the connections this
// program sends on never carry data back, so anything to read means the end.
bool IsPeerClosed(Socket s);
// Ends both directions: a thread blocked in accept or receive on it returns.
void ShutdownSocket(Socket s);
void CloseSocket(Socket s);
// The system's text for the last socket failure of this thread.
std::string LastSocketErrorText();

}  // namespace host
