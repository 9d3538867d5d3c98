#include "app/OptionSuggestion.h"
#include <gtest/gtest.h>

TEST(OptionSuggestion, EditsCountOneEachAndASwapOfNeighboursOne)
{
    const struct {
        const char* a;
        const char* b;
        int distance;
    } cases[] = {
        {"tracks", "tracks", 0}, {"trakcs", "tracks", 1}, {"trak", "track", 1},
        {"", "abc", 3},          {"kitten", "sitting", 3}, {"ab", "ba", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OptionSuggestion::Distance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(OptionSuggestion::Distance(c.b, c.a), c.distance) << c.b << " / " << c.a;
    }
}

// One edit for each three letters written, two at most: a short or far
// name gets no suggestion.
TEST(OptionSuggestion, TheNearestKnownNameWhenOneIsNearEnough)
{
    const QStringList known{"list", "track", "tracks", "flac", "overwrite", "accuraterip-id", "h"};
    const struct {
        const char* written;
        const char* meant;
    } cases[] = {
        {"trakcs", "tracks"},  {"TRACKS", "tracks"}, {"lst", "list"},      {"flak", "flac"},
        {"ovrewrit", "overwrite"}, {"acuraterip-d", "accuraterip-id"}, {"frobnicate", ""},
        {"q", ""},             {"fl", ""},          {"overwritten!", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OptionSuggestion::Nearest(c.written, known), QString::fromUtf8(c.meant)) << c.written;
}
