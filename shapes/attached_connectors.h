#pragma once

#include <vector>

class TnoxConnector;
class TWinControl;

// The index of connectors by attached shape: each shape keeps the connectors that have it at either
// end, so that moving a shape reroutes just those instead of scanning every child of its parent.
// Connectors add and remove themselves as their connections change and when they are freed.
class AttachedConnectors {
public:
    // Adding a member again does nothing.
    void Add(TnoxConnector* connector);
    void Remove(const TnoxConnector* connector);
    bool Empty() const { return connectors_.empty(); }
    const std::vector<TnoxConnector*>& Members() const { return connectors_; }
    // The members that are children of `parent`, in its child order (back to front).
    std::vector<TnoxConnector*> InChildOrder(const TWinControl* parent) const;

private:
    std::vector<TnoxConnector*> connectors_;  // few per shape: a vector beats a hash set
};
