// Engine state back to its start-up values, for test runs that need a clean
// engine between cases. Each module registers how to reset its own state
// with a ResetHook in its .cpp; nothing in a normal run calls ResetEngine.
#pragma once

namespace vorlune::core {

struct ResetHook {
    explicit ResetHook(void (*reset)());  // register reset, run by ResetEngine
};

void ResetEngine();  // run every registered reset, in registration order

}  // namespace vorlune::core
