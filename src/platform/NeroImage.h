#pragma once
#include <QString>

// The frame of a Nero image (.nrg): the footer at its end points to a list
// of chunks (name, big-endian size, data) that ends with "END!". libcdio
// trusts those sizes; an image whose frame does not hold together is
// refused before libcdio reads it.
class NeroImage {
public:
    // Empty when the frame holds together, else the French text that says why
    // the image is refused.
    static QString Damage(const QString& path);
};
