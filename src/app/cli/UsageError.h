#pragma once
#include "platform/CalvenorError.h"

// A mistake in the command itself, shown with the usage.
class UsageError : public CalvenorError {
public:
    using CalvenorError::CalvenorError;
};
