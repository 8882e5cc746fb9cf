#pragma once

#include "lumoraplay.h"

#include <QString>

namespace lumora {

// Read-only view of a programme tree addressed by absolute (pre-order) index. The rules of the
// catalogue, the search and the playlist work on this, so a widget tree can stand in.
class TreeAccess {
public:
    virtual ~TreeAccess() = default;

    virtual int count() const = 0;
    virtual int level(int index) const = 0;      // 0 for top-level nodes
    virtual int parent(int index) const = 0;     // -1 for top-level nodes
    virtual int childCount(int index) const = 0; // direct children
    virtual bool isExpanded(int index) const = 0;
    virtual LumoraPlayPtr record(int index) const = 0;
    virtual QString caption(int index) const = 0;

    bool contains(int index) const { return index >= 0 && index < count(); }
    bool hasChildren(int index) const { return childCount(index) > 0; }
};

} // namespace lumora
