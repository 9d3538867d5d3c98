#pragma once
#include "platform/CalvenorError.h"

// Errors of the ripper component; short English messages.
class ECDRIPError : public CalvenorError {
public:
    using CalvenorError::CalvenorError;
};
