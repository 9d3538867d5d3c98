#pragma once
#include <QString>
#include <stdexcept>

// Base of every error that reaches the general error display: it carries the
// text shown to the user.
class CalvenorError : public std::runtime_error {
public:
    explicit CalvenorError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
