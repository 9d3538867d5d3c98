#pragma once
#include <QList>
#include <QString>

// The user's pattern for the files of a rip, relative to the destination
// folder: "%A" album artist, "%a" track artist, "%d" album, "%y" year, "%g"
// genre, "%n" track number on two digits, "%N" disc number, "%t" title, "%%"
// a percent sign; "/" separates folders. Every folder and file name is made
// safe by the rules of TargetNameRule, and a value never makes a folder.
class NameTemplate {
public:
    // One track's values; an empty value leaves its place empty.
    struct Values {
        QString albumArtist;
        QString artist;
        QString album;
        QString year;
        QString genre;
        QString title;
        // "Piste NN": the title of a track without one.
        QString label;
        int number = 0;
        int disc = 0; // 0: not known
    };

    // Today's names: "NN - album - artist - title".
    static const QString DefaultText;
    // The name of a folder whose values are all empty.
    static const QString UnknownFolder;

    // A text that is not a valid template (Error() tells why) names as the
    // default one does.
    explicit NameTemplate(const QString& text = DefaultText);

    const QString& Text() const { return m_text; }
    // Empty when the text is a valid template, else why not, in French.
    const QString& Error() const { return m_error; }
    bool HasFolders() const { return m_components.size() > 1; }

    // folder (with or without its final "/") + the folders and the file
    // name of the template + extension (".mp3", ...).
    QString Apply(const QString& folder, const Values& values, const QString& extension) const;
    // The name the template gives this track below the destination folder,
    // or the French error of a text that is not a valid template.
    static QString PreviewText(const QString& text, const Values& values, const QString& extension);
    // What each field stands for, in French, for help texts.
    static QString FieldsText();
    // The same, one field a line, for a hint beside the template's box.
    static QString FieldsLines();
    // A made-up album, to show a template when no disc is listed.
    static Values SampleValues();

private:
    struct Piece {
        QChar field; // null: literal text
        QString text;
    };
    using Component = QList<Piece>;

    QString parse(const QString& text);
    QString relativePath(const Values& values, const QString& extension) const;
    QString componentText(const Component& component, const Values& values) const;
    static void tidyAround(Component& pieces, qsizetype i);
    // Whether pieces [from, to) hold more than separators.
    static bool hasName(const Component& pieces, qsizetype from, qsizetype to);
    // Whether the text of pieces [0, to) ends with a separator.
    static bool endsWithSeparator(const Component& pieces, qsizetype to);

    QString m_text;
    QString m_error;
    QList<Component> m_components;
};
