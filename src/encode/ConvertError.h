#pragma once
#include "platform/CalvenorError.h"

// A file that cannot be converted, with the French text the user sees.
class ConvertError : public CalvenorError {
public:
    using CalvenorError::CalvenorError;
};
