#include "core/reset.hpp"

#include <vector>

namespace vorlune::core {
namespace {

// Built on first use: hooks register during static initialisation, in any
// order of translation units.
std::vector<void (*)()>& Hooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}

}  // namespace

ResetHook::ResetHook(void (*reset)()) { Hooks().push_back(reset); }

void ResetEngine() {
    for (void (*reset)() : Hooks()) reset();
}

}  // namespace vorlune::core
