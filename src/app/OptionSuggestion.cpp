#include "app/OptionSuggestion.h"
#include <QList>
#include <algorithm>

namespace {
constexpr int MaxEdits = 2;
constexpr int LettersPerEdit = 3;
} // namespace

// Two rows back are kept: a swap looks two letters behind.
int OptionSuggestion::Distance(const QString& a, const QString& b)
{
    const qsizetype n = b.size();
    QList<int> before(n + 1), previous(n + 1), current(n + 1);
    for (qsizetype j = 0; j <= n; ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= n; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before = previous;
        previous = current;
    }
    return previous[n];
}

QString OptionSuggestion::Nearest(const QString& written, const QStringList& known)
{
    const int allowed = std::min<int>(MaxEdits, int(written.size()) / LettersPerEdit);
    QString nearest;
    int best = allowed + 1;
    for (const QString& name : known) {
        const int distance = Distance(written.toLower(), name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}
