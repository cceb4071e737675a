// What an operation raised, for comparing the codes and texts users see.
#pragma once

#include <string>
#include <utility>

#include "runtime/errors.h"

namespace imgcrypt::test {

// The message of the `Error` the operation raised; "(no error)" without one.
template <class Error, class Operation>
std::string MessageOf(Operation&& operation) {
    try {
        std::forward<Operation>(operation)();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

// The code of the EInOutError the operation raised; 0 without one.
template <class Operation>
int InOutCodeOf(Operation&& operation) {
    try {
        std::forward<Operation>(operation)();
    } catch (const EInOutError& error) {
        return error.code();
    }
    return 0;
}

}  // namespace imgcrypt::test
