#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

// A listening socket on 127.0.0.1 at a port the system picks, for the hand-made test servers;
// the port is told back.
inline int ListenOnLoopback(int backlog, int& port) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener, backlog);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}
