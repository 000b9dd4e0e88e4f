#include "core/handles.hpp"

#include <cstdint>
#include <iterator>
#include <unordered_map>

#include "core/reset.hpp"

namespace vorlune::core {
namespace {

struct Entry {
    void* object;
    HandleKind kind;
    const void* owner;
};

// Every live object handed to a script, keyed by its token.
struct HandleRegistry {
    std::unordered_map<uintptr_t, Entry> live;
    uintptr_t issued = 0;  // tokens handed out so far; the next one is issued + 1
} registry;

uintptr_t Key(ObjectHandle token) { return reinterpret_cast<uintptr_t>(token); }

const Entry* Find(ObjectHandle token) {
    auto it = registry.live.find(Key(token));
    return it == registry.live.end() ? nullptr : &it->second;
}

}  // namespace

ObjectHandle RegisterHandle(void* object, HandleKind kind, const void* owner) {
    if (!object) return nullptr;
    uintptr_t token = ++registry.issued;
    registry.live.emplace(token, Entry{object, kind, owner});
    return reinterpret_cast<ObjectHandle>(token);
}

void* Resolve(ObjectHandle token, HandleKind kind) {
    const Entry* entry = Find(token);
    return entry && entry->kind == kind ? entry->object : nullptr;
}

const void* OwnerOf(ObjectHandle token) {
    const Entry* entry = Find(token);
    return entry ? entry->owner : nullptr;
}

bool IsLive(ObjectHandle token, HandleKind kind) { return Resolve(token, kind) != nullptr; }

bool ForgetHandle(ObjectHandle token, HandleKind kind) {
    if (!IsLive(token, kind)) return false;
    registry.live.erase(Key(token));
    return true;
}

void ForgetOwnedBy(const void* owner) {
    if (!owner) return;
    std::erase_if(registry.live, [owner](const auto& item) { return item.second.owner == owner; });
}

void ForgetKind(HandleKind kind) {
    std::erase_if(registry.live, [kind](const auto& item) { return item.second.kind == kind; });
}

const ResetHook resetHook([] { registry.live.clear(); });  // tokens keep counting: none comes back

}  // namespace vorlune::core
