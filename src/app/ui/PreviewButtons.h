#pragma once
#include <QString>

class CdPlayer;
class IDialogService;
class QLabel;

// The play, forward and stop pictures beside the track list and the player
// they drive. Each blue picture shows over its grey one when it may be used.
class PreviewButtons {
public:
    PreviewButtons(QLabel& play, QLabel& forward, QLabel& stop, CdPlayer& player, IDialogService& dialogs)
        : m_play(play), m_forward(forward), m_stop(stop), m_player(player), m_dialogs(dialogs)
    {
    }

    bool Playing() const;
    // Another row chosen: a playing track stops; play becomes possible.
    void SelectionChanged();
    // The focus left the list: playing stops, the device stays open.
    void ListLeft();
    // The focus came back to the list with a row chosen: play is possible
    // again, so Tab reaches it on every pass.
    void ListEntered();
    // Plays track n of the disc in source, when it holds audio.
    void Play(int n, const QString& source);
    // Ten seconds forward, playing on.
    void SkipForward();
    void Stop();
    // The window closes: a playing track stops.
    void Close();

private:
    enum class State { Inactive, Ready, Playing };
    void show(State state);

    QLabel& m_play;
    QLabel& m_forward;
    QLabel& m_stop;
    CdPlayer& m_player;
    IDialogService& m_dialogs;
};
