// Sampling whether the machine is on a network, once, at start-up; the browser pane's load is
// told the answer.
#pragma once

#include <vector>

namespace app {

// What the platform's network information says about reachability.
enum class NetworkReach { Unknown, Disconnected, LocalOrBetter };

// The state of one network interface, as far as the decision needs it.
struct InterfaceState {
    bool up = false;
    bool running = false;
    bool loopback = false;
    int addressCount = 0;
};

// Any interface that is up, running, not loopback and holds an address.
bool anyUsableInterface(const std::vector<InterfaceState>& interfaces);

// The reachability when known, otherwise whether any interface is usable.
bool isConnected(NetworkReach reach, const std::vector<InterfaceState>& interfaces);

// Asks the platform.
bool checkConnection();

} // namespace app
