#pragma once
#include "platform/CalvenorError.h"

// A server that answered with an HTTP error status: callers may read the
// status (a web service says "not found" with 404).
class HttpStatusError : public CalvenorError {
public:
    HttpStatusError(const QString& message, long status) : CalvenorError(message), m_status(status) {}
    long Status() const { return m_status; }

private:
    long m_status;
};
