#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Decodes an MP3 file with mpg123, a decoder independent of ours that honours
// the LAME tag's delay and padding. Nothing when it cannot be run.
class Mpg123 {
public:
    static std::optional<std::vector<int16_t>> Decode(const QString& mp3);
};
