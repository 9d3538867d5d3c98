#include "app/ui/PreviewButtons.h"
#include "platform/CdPlayer.h"
#include "platform/IDialogService.h"
#include <QLabel>

bool PreviewButtons::Playing() const
{
    return !m_stop.isHidden();
}

void PreviewButtons::show(State state)
{
    const std::pair<QLabel*, bool> buttons[] = {
        {&m_play, state == State::Ready}, {&m_forward, state == State::Playing}, {&m_stop, state == State::Playing}};
    // Shown ones first, and a focused picture hands the focus to one of them
    // before it hides: the keyboard stays with the player.
    QLabel* heir = nullptr;
    for (const auto& [button, shown] : buttons) {
        if (!shown)
            continue;
        button->show();
        if (!heir)
            heir = button;
    }
    for (const auto& [button, shown] : buttons) {
        if (shown)
            continue;
        if (button->hasFocus() && heir)
            heir->setFocus(Qt::OtherFocusReason);
        button->hide();
    }
}

void PreviewButtons::SelectionChanged()
{
    if (Playing())
        Stop();
    show(State::Ready);
}

void PreviewButtons::ListLeft()
{
    // The device stays open: the next play reopens it.
    if (Playing())
        m_player.Stop();
    show(State::Inactive);
}

void PreviewButtons::ListEntered()
{
    if (!Playing())
        show(State::Ready);
}

void PreviewButtons::Play(int n, const QString& source)
{
    if (!m_player.HoldsAudioDisc(source)) {
        m_dialogs.message(
            MsgKind::Information,
            QStringLiteral("Impossible de lire cette piste. Cela n'empeche pas le rippage mais il n'est pas encore "
                           "possible dans cette version de lire cette piste..."),
            MsgButtons::Ok);
        return;
    }
    m_player.SetFileName(source);
    m_player.Open();
    m_player.Seek(m_player.TrackPosition(n));
    m_player.Play();
    show(State::Playing);
}

void PreviewButtons::SkipForward()
{
    m_player.Seek(m_player.Position() + 10);
    m_player.Play();
}

void PreviewButtons::Stop()
{
    m_player.Stop();
    m_player.Close();
    show(State::Ready);
}

void PreviewButtons::Close()
{
    if (Playing())
        Stop();
}
