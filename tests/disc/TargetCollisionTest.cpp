#include "disc/TargetCollision.h"
#include <gtest/gtest.h>

namespace {
AlbumTrack track(int number, const char* target, bool ticked = true)
{
    AlbumTrack t;
    t.number = number;
    t.ticked = ticked;
    t.setValue(AlbumTrack::Target, QString::fromUtf8(target));
    return t;
}
} // namespace

TEST(TargetCollision, TwoTickedTracksWithOneFileAreNamed)
{
    const struct {
        QList<AlbumTrack> tracks;
        const char* text;
    } cases[] = {
        {{track(1, "/m/a.mp3"), track(3, "/m/b.mp3"), track(7, "/m/b.mp3")},
         "Les pistes 03 et 07 donneraient le même fichier « /m/b.mp3 » : changez le modèle de nom."},
        {{track(1, "/m/a.mp3"), track(2, "/m/a.mp3", false)}, ""},
        {{track(1, "/m/a.mp3"), track(2, "/m/A.mp3")}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TargetCollision::Text(c.tracks), QString::fromUtf8(c.text));
}
