#pragma once
#include <QString>

// The output of one conversion. The data goes to a file without a name in
// the target's folder; Commit gives it the target's name. Until then nothing
// of it can be seen, and a failure, a stop or a killed process leaves nothing
// behind: the system frees an unnamed file when its last descriptor closes.
// On a file system without unnamed files, a hidden file of our own naming
// beside the target stands in for it.
class ConversionTarget {
public:
    explicit ConversionTarget(const QString& target);
    ~ConversionTarget();
    ConversionTarget(const ConversionTarget&) = delete;
    ConversionTarget& operator=(const ConversionTarget&) = delete;

    // Where to write the data: an open descriptor, kept by this object.
    int Descriptor() const { return m_fd; }
    // A path that reaches the data before Commit, for writers that only take paths.
    QString DataPath() const;
    // Replaces an existing target in one step: it is never left missing.
    void Commit();
    // The same under another name in the target's folder.
    void CommitAs(const QString& target);

private:
    void openNamed();
    QString hiddenName() const;
    bool linkAs(const QString& name) const;

    QString m_target;
    QString m_named; // the stand-in's name; empty for an unnamed file
    int m_fd = -1;
    bool m_committed = false;
};
