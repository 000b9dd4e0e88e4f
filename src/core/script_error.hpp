// A fault the calling script caused, reported to it as a script error.
//
// Engine functions have no script state. They throw ScriptError, and the
// adapter (script/binder.hpp) catches it, leaves the handler and raises the
// message as a script error, which the script can catch with pcall.
#pragma once

#include <stdexcept>

namespace vorlune::core {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vorlune::core
