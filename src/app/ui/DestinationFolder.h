#pragma once
#include "platform/PlatformServices.h"
#include <QString>

class QLineEdit;

// The destination folder box of the main window and its three buttons.
class DestinationFolder {
public:
    DestinationFolder(QLineEdit& box, const PlatformServices& services) : m_box(box), m_services(services) {}

    QString Text() const;
    void SetText(const QString& folder);
    // Asks to create a missing folder; true when it exists afterwards.
    bool Ensure();
    // Opens the folder in the file manager, once it exists.
    void Open();
    // Lets the user pick another folder.
    void Browse();
    // Goes up to the parent folder.
    void Up();
    // The folder the user last chose by hand (typed, browsed to, gone up
    // to); empty when none yet.
    const QString& Chosen() const { return m_chosen; }
    void NoteTyped() { m_chosen = Text(); }

private:
    QLineEdit& m_box;
    PlatformServices m_services;
    QString m_chosen;
};
