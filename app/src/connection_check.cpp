#include "app/connection_check.h"

#include <QNetworkInformation>
#include <QNetworkInterface>

namespace app {

namespace {

NetworkReach platformReach() {
    // Without a backend that knows reachability (e.g. no NetworkManager) the answer is unknown.
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return NetworkReach::Unknown;
    QNetworkInformation* info = QNetworkInformation::instance();
    if (!info)
        return NetworkReach::Unknown;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
        return NetworkReach::Disconnected;
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
    case QNetworkInformation::Reachability::Online:
        return NetworkReach::LocalOrBetter;
    case QNetworkInformation::Reachability::Unknown:
        break;
    }
    return NetworkReach::Unknown;
}

std::vector<InterfaceState> platformInterfaces() {
    std::vector<InterfaceState> states;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        states.push_back({flags.testFlag(QNetworkInterface::IsUp),
                          flags.testFlag(QNetworkInterface::IsRunning),
                          flags.testFlag(QNetworkInterface::IsLoopBack),
                          static_cast<int>(interface.addressEntries().size())});
    }
    return states;
}

} // namespace

bool anyUsableInterface(const std::vector<InterfaceState>& interfaces) {
    for (const InterfaceState& i : interfaces) {
        if (i.up && i.running && !i.loopback && i.addressCount > 0)
            return true;
    }
    return false;
}

bool isConnected(NetworkReach reach, const std::vector<InterfaceState>& interfaces) {
    if (reach == NetworkReach::Unknown)
        return anyUsableInterface(interfaces);
    return reach == NetworkReach::LocalOrBetter;
}

bool checkConnection() {
    const NetworkReach reach = platformReach();
    return isConnected(reach, reach == NetworkReach::Unknown ? platformInterfaces()
                                                             : std::vector<InterfaceState>{});
}

} // namespace app
