#include "core/handles.hpp"

#include <iterator>
#include <unordered_map>

namespace vorlune::core {
namespace {

struct Entry {
    HandleKind kind;
    const void* owner;
};

// Every live object handed to a script, keyed by its pointer.
struct HandleRegistry {
    std::unordered_map<ObjectHandle, Entry> live;
} registry;

}  // namespace

void RegisterHandle(ObjectHandle p, HandleKind kind, const void* owner) {
    if (p) registry.live[p] = Entry{kind, owner};
}

bool IsLive(ObjectHandle p, HandleKind kind) {
    if (!p) return false;
    auto it = registry.live.find(p);
    return it != registry.live.end() && it->second.kind == kind;
}

ObjectHandle Live(ObjectHandle p, HandleKind kind) { return IsLive(p, kind) ? p : nullptr; }

bool ForgetHandle(ObjectHandle p, HandleKind kind) {
    if (!IsLive(p, kind)) return false;
    registry.live.erase(p);
    return true;
}

void ForgetOwnedBy(const void* owner) {
    if (!owner) return;
    for (auto it = registry.live.begin(); it != registry.live.end();) {
        it = (it->second.owner == owner) ? registry.live.erase(it) : std::next(it);
    }
}

void ForgetKind(HandleKind kind) {
    for (auto it = registry.live.begin(); it != registry.live.end();) {
        it = (it->second.kind == kind) ? registry.live.erase(it) : std::next(it);
    }
}

void ResetHandles() { registry.live.clear(); }

}  // namespace vorlune::core
