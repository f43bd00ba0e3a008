#include "platform/host/Socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace host {

namespace {

std::atomic<bool> g_startupFails{false};

bool ParseIPv4(const std::string& text, in_addr& out) {
    return !text.empty() && inet_pton(AF_INET, text.c_str(), &out) == 1;
}

}  // namespace

bool SocketsStartup() {
    return !g_startupFails.load();
}

void SetSocketsStartupFailsForTesting(bool fails) {
    g_startupFails.store(fails);
}

Socket CreateTcpSocket() {
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return s < 0 ? kInvalidSocket : s;
}

bool BindAndListen(Socket s, const std::string& address, uint16_t port, int backlog) {
    if (s == kInvalidSocket) return false;
    int yes = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    if (address.empty()) {
        sa.sin_addr.s_addr = htonl(INADDR_ANY);
    } else if (!ParseIPv4(address, sa.sin_addr)) {
        errno = EINVAL;
        return false;
    }
    if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return false;
    return listen(s, backlog) == 0;
}

Socket AcceptConnection(Socket listening) {
    for (;;) {
        int s = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (s >= 0) {
            int yes = 1;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            return s;
        }
        if (errno == EINTR) continue;
        return kInvalidSocket;
    }
}

bool ResolveIPv4(const std::string& computer, uint32_t& addressNetworkOrder) {
    in_addr a{};
    if (ParseIPv4(computer, a)) {
        addressNetworkOrder = a.s_addr;
        return true;
    }
    if (computer.empty()) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(computer.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    addressNetworkOrder = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

bool ConnectSocket(Socket s, uint32_t addressNetworkOrder, uint16_t port) {
    if (s == kInvalidSocket) return false;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = addressNetworkOrder;
    int rc;
    do {
        rc = connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) return false;
    int yes = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return true;
}

long SendBytes(Socket s, const void* data, size_t length) {
    if (s == kInvalidSocket) {
        errno = EBADF;
        return -1;
    }
    ssize_t n;
    do {
        n = send(s, data, length, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

long ReceiveBytes(Socket s, void* buffer, size_t length) {
    ssize_t n;
    do {
        n = recv(s, buffer, length, 0);
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

bool IsPeerClosed(Socket s) {
    if (s == kInvalidSocket) return true;
    pollfd p{};
    p.fd = s;
    p.events = POLLIN | POLLRDHUP;
    if (poll(&p, 1, 0) <= 0) return false;
    if (p.revents & (POLLHUP | POLLERR | POLLRDHUP | POLLNVAL)) return true;
    if (p.revents & POLLIN) {
        char c;
        return recv(s, &c, 1, MSG_PEEK | MSG_DONTWAIT) <= 0;
    }
    return false;
}

void ShutdownSocket(Socket s) {
    if (s != kInvalidSocket) shutdown(s, SHUT_RDWR);
}

void CloseSocket(Socket s) {
    if (s != kInvalidSocket) close(s);
}

std::string LastSocketErrorText() {
    return std::strerror(errno);
}

}  // namespace host
