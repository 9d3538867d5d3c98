#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

// The ID3v1 genre names, numbers 0 to 115 in the standard numbering that
// other players read ("Fast Fusion" at 84): the program's one list of genres.
class GenreTable {
public:
    static constexpr uint8_t Other = 12;
    static constexpr uint8_t LastId = 115;

    static const QStringList& Names();
    // Name of a genre number; "Other" for a number past the table.
    static QString NameOf(uint8_t id);
    // Position of a name in the table, letter case ignored; Other when absent.
    static uint8_t IdOfName(const QString& name);
};
