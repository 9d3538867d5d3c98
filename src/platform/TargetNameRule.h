#pragma once
#include <QChar>
#include <QString>

// The rules that turn track rows into file names and folders, shared by every
// window that writes names.
class TargetNameRule {
public:
    // Longest name of one path component, in UTF-8 bytes.
    static constexpr int MaxComponentBytes = 255;

    // folder + "NN - " + album " - " + artist " - " + (title or label) + extension (".mp3", ".flac", ...):
    // the default NameTemplate. A title may hold any character: only its file loses some.
    static QString ComposeTargetPath(const QString& directory, const QString& label, const QString& album,
                                     const QString& artist, const QString& title, const QString& extension);
    // The nine characters that file names must not hold: / \ : * ? " < > |
    static bool IsForbiddenNameChar(QChar c);
    // The text without the forbidden characters and, when it had some, the
    // blanks they leave at its ends; unchanged otherwise.
    static QString WithoutForbiddenChars(const QString& text);
    // "." or ".." (blanks around them aside): as a folder name it would lead
    // out of the music folder.
    static bool IsDotFolderName(const QString& name);
    // The text without control characters (U+0000-U+001F, U+007F-U+009F).
    static QString WithoutControlChars(const QString& text);
    // A value from outside (artist, album, title...) as a file name may hold
    // it: no control nor forbidden character, so that "AC/DC" makes no folder.
    static QString WithoutUnsafeChars(const QString& text);
    // The one rule for a component of a path made of such values: name
    // without unsafe characters, NameTemplate::UnknownFolder for "." or "..",
    // cut at a character boundary so that with end (an extension, " -
    // PlayList.M3u", ...), kept whole, it holds at most MaxComponentBytes bytes.
    static QString SafeComponent(const QString& name, const QString& end = QString());
    // path itself, once made absolute and rid of "." and ".." it lies inside
    // folder; raises CalvenorError with a French text otherwise. An empty
    // path (no file) passes.
    static QString InsideFolder(const QString& folder, const QString& path);
    // The folder named `name` inside `folder` (which ends with "/"), with its own "/".
    static QString SubFolder(const QString& folder, const QString& name);
    // The error text for "." or ".." as a name, subject first.
    static QString DotFolderNameText(const QString& subject);
    // The error text for a name holding forbidden characters, subject first
    // ("Le nom de l'artiste", "Le titre de la chanson", ...).
    static QString ForbiddenCharactersText(const QString& subject);
    // Index of the first forbidden character of text, -1 when there is none.
    static int FirstForbiddenChar(const QString& text);
    // The documents folder + "/" when missing + "Ma musique/".
    static QString DefaultMusicFolder(const QString& documentsFolder);
    // The folder with a "/" at its end.
    static QString WithSeparator(const QString& folder);
    // The text without its last four characters, followed by the extension.
    static QString ReplaceLastFour(const QString& text, const QString& extension);
    // The parent of a folder text; stops at the root "/".
    static QString ParentFolder(const QString& folder);
};
