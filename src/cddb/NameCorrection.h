#pragma once
#include <QString>
#include <functional>

// Has names from a server corrected until they can name files and folders:
// each forbidden character met asks for a correction.
class NameCorrection {
public:
    // Shows the box text, when there is one, then lets the user correct the
    // name; returns the corrected name.
    using Ask = std::function<QString(const QString& name, const QString& boxText)>;

    explicit NameCorrection(Ask ask) : m_ask(std::move(ask)) {}

    // The walk goes on in the corrected text, up to the length the name had
    // at first.
    QString WithoutForbiddenChars(const QString& name, const QString& boxText) const;
    // A folder name, subject saying whose ("Le nom de l'artiste"): forbidden
    // characters and the names "." and ".." are refused, each with its text.
    QString FolderName(const QString& name, const QString& subject) const;

private:
    Ask m_ask;
};
