#pragma once
#include <QString>
#include <QStringList>

// The known option a mistyped one most likely meant, for "Vouliez-vous
// dire --tracks ?".
class OptionSuggestion {
public:
    // The name of known nearest to written, without dashes; empty when none
    // is near enough to have been meant: at most two edits, and one for each
    // three letters written.
    static QString Nearest(const QString& written, const QStringList& known);
    // Letters added, removed or replaced, and two neighbours swapped, each counting one.
    static int Distance(const QString& a, const QString& b);
};
