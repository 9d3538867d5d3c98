#pragma once
#include <QString>

// The output of one conversion. The data goes to a temporary file beside the
// target; Commit puts it in the target's place. Without Commit (a failure, a
// stop) the temporary file is removed and an existing target stays as it was.
class ConversionTarget {
public:
    explicit ConversionTarget(const QString& target);
    ~ConversionTarget();
    ConversionTarget(const ConversionTarget&) = delete;
    ConversionTarget& operator=(const ConversionTarget&) = delete;

    // Where to write the data.
    const QString& TemporaryPath() const { return m_temporary; }
    void Commit();

private:
    QString m_target;
    QString m_temporary;
    bool m_committed = false;
};
