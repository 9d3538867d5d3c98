#pragma once
#include <QString>

// An e-mail address as the CDDB greeting and the MusicBrainz contact use it.
class EmailAddress {
public:
    // One "@" between a local part and a domain with a dot; no blank or
    // control character anywhere.
    static bool IsValid(const QString& address);
    // The text before the last "@", and the text after it.
    static QString LocalPart(const QString& address);
    static QString Domain(const QString& address);
    // The French text that says what a valid address looks like.
    static QString InvalidText(const QString& address);
};
