#pragma once
#include "platform/CalvenorError.h"

// A request given up because its caller no longer wants the answer (its
// window was closed): nothing to show.
class HttpCancelled : public CalvenorError {
public:
    HttpCancelled() : CalvenorError(QStringLiteral("La requête a été annulée.")) {}
};
