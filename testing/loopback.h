// Loopback sockets for the tests that talk to a listener of ours over TCP.
#pragma once

namespace zelmor::testing {

// A TCP port on 127.0.0.1 that was free a moment ago.
int FreePort();

// A TCP client connected to 127.0.0.1:`port`, or -1.
int ConnectLoopback(int port);

}  // namespace zelmor::testing
