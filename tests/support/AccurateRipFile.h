#pragma once
#include <QList>
#include <QString>
#include <cstdint>
#include <utility>

class AccurateRipDiscId;

// Writes a database file under folder, at the disc's path, as the database
// serves it: one response per entry, each the confidence and checksum of
// every audio track. otherDisc, when not 0, spoils the disc's identifier.
class AccurateRipFile {
public:
    using Response = QList<std::pair<int, uint32_t>>;
    static bool Write(const QString& folder, const AccurateRipDiscId& disc, const QList<Response>& responses,
                      uint32_t otherDisc = 0);
};
