// Sampling whether the machine is on a network, once, while the main frame loads.
#pragma once

#include <vector>

namespace augurlex {

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
bool AnyUsableInterface(const std::vector<InterfaceState>& interfaces);

// 1 when connected, else 0: the reachability when known, otherwise the interfaces.
int ConnectionState(NetworkReach reach, const std::vector<InterfaceState>& interfaces);

// Asks the platform and stores the answer in Connected().
void CheckConnection();

} // namespace augurlex
