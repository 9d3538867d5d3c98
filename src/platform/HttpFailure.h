#pragma once
#include "platform/CalvenorError.h"

// A request that failed before an answer came whole, with what went wrong
// for callers that say it in a few words of their own (a cover not fetched);
// the message is the full French text.
class HttpFailure : public CalvenorError {
public:
    enum class Kind {
        Unreachable,      // no such host, no connection
        TimedOut,         // past the time limit, or too slow
        Cut,              // the connection closed before the end
        TooLarge,         // an answer over the size allowed
        TooManyRedirects,
        RefusedRedirect,  // to another scheme, or from https to http
        Other,
    };

    HttpFailure(const QString& message, Kind kind) : CalvenorError(message), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
