#include "shapes/attached_connectors.h"

#include <algorithm>

#include "shapes/connector.h"

void AttachedConnectors::Add(TnoxConnector* connector) {
    if (std::find(connectors_.begin(), connectors_.end(), connector) == connectors_.end())
        connectors_.push_back(connector);
}

void AttachedConnectors::Remove(const TnoxConnector* connector) {
    const auto it = std::find(connectors_.begin(), connectors_.end(), connector);
    if (it != connectors_.end()) connectors_.erase(it);
}

std::vector<TnoxConnector*> AttachedConnectors::InChildOrder(const TWinControl* parent) const {
    if (!parent) return {};
    std::vector<std::pair<int, TnoxConnector*>> found;
    for (TnoxConnector* c : connectors_)
        if (c->Parent() == parent) found.emplace_back(0, c);
    // One needs no order (and so no index, which may have to be renumbered after a change).
    if (found.size() > 1) {
        for (auto& entry : found) entry.first = parent->IndexOfControl(entry.second);
        std::sort(found.begin(), found.end());
    }
    std::vector<TnoxConnector*> out;
    out.reserve(found.size());
    for (const auto& entry : found) out.push_back(entry.second);
    return out;
}
