#pragma once
#include "platform/CdRipTypes.h"
#include <array>
#include <cstdint>

// Mirror of the drive table of the library's parameter record. Nothing
// written here goes back to the library.
class TDriveTableClass {
public:
    TDriveType DriveType() const { return static_cast<TDriveType>(lowByte(0)); }
    void SetDriveType(TDriveType v) { setEnum(0, v); }
    TReadMethod ReadMethod() const { return static_cast<TReadMethod>(lowByte(1)); }
    void SetReadMethod(TReadMethod v) { setEnum(1, v); }
    TSetSpeed SetSpeed() const { return static_cast<TSetSpeed>(lowByte(2)); }
    void SetSetSpeed(TSetSpeed v) { setEnum(2, v); }
    TEndian Endian() const { return static_cast<TEndian>(lowByte(3)); }
    void SetEndian(TEndian v) { setEnum(3, v); }
    TEnableMode EnableMode() const { return static_cast<TEnableMode>(lowByte(4)); }
    void SetEnableMode(TEnableMode v) { setEnum(4, v); }
    int32_t Density() const { return m_values[5]; }
    void SetDensity(int32_t v) { m_values[5] = v; }
    bool Atapi() const { return m_values[6] != 0; }
    void SetAtapi(bool v) { m_values[6] = v ? -1 : 0; }

    // Takes the seven values from the parameter record.
    void CopyFrom(const TCDRomParams& params)
    {
        for (int i = 0; i < TCDRomParams::DriveTableValues; ++i)
            m_values[i] = params.get32(TCDRomParams::DriveTableOffset + 4 * i);
    }
    int32_t Value(int i) const { return m_values[i]; }

private:
    uint8_t lowByte(int i) const { return static_cast<uint8_t>(m_values[i] & 0xFF); }
    void setEnum(int i, int ordinal) { m_values[i] = ordinal & 0x7F; }
    std::array<int32_t, TCDRomParams::DriveTableValues> m_values{};
};
