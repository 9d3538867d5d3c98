#pragma once
#include <QString>

// libcdio reads a cue sheet with the .bin of the cue's own base name beside
// it and ignores the sheet's FILE line.
class CueSheet {
public:
    static bool IsCue(const QString& path);
    // The .bin libcdio opens for the cue sheet at path.
    static QString BinBeside(const QString& path);
    // For a cue sheet that exists without its .bin: the French text that
    // says why it cannot be read. Empty otherwise.
    static QString MissingBinText(const QString& path);
    // The French text that says why libcdio must not be given the sheet at
    // path (tracks not numbered 01, 02, ... one by one, which its parser
    // reads out of bounds on); empty when its numbering is sound or it
    // cannot be read here, libcdio then saying so.
    static QString NumberingFault(const QString& path);
};
