#pragma once
// The configuration block of the controller's EEPROM, one row per stored value.
// The encoder, the decoder, the image check, the report and the command-line tool
// all read this table; an address or a bit appears nowhere else.
#include "params/paramset.h"

#include <cstdint>
#include <vector>

namespace layout {

// How a value sits in the image.
enum class Encoding {
    Byte,        // one byte, the value must lie in 0 to 255
    Word,        // 16-bit signed value, little-endian, must lie in 0 to 32767
    Copied,      // an 8-bit member copied as it is
    Colour,      // three bytes red, green, blue of a 24-bit RGB value
    Flags,       // flag byte: the defined bits from their Booleans, the others carried over
    FreshFlags,  // flag byte rebuilt from its Booleans alone, the other bits zero
};

// The parameter member a row reads and writes, whatever its integer type.
class Member {
public:
    constexpr Member(int16_t ParameterSet::*m) : m_i16(m) {}
    constexpr Member(uint8_t ParameterSet::*m) : m_u8(m) {}
    constexpr Member(int32_t ParameterSet::*m) : m_i32(m) {}
    int get(const ParameterSet& p) const;
    void set(ParameterSet& p, int value) const;

private:
    int16_t ParameterSet::*m_i16 = nullptr;
    uint8_t ParameterSet::*m_u8 = nullptr;
    int32_t ParameterSet::*m_i32 = nullptr;
};

struct Field {
    const char* name;
    int offset;
    Encoding encoding;
    Member member;
    int width() const;  // bytes taken in the image
};

// The Booleans packed into the flag bytes.
namespace bits {
constexpr uint8_t GPOEnable = 1u << 0;
constexpr uint8_t LogArmed = 1u << 1;
constexpr uint8_t AlarmVSSEnable = 1u << 2;
constexpr uint8_t MultiStageShift = 1u << 3;
constexpr uint8_t VSSGearDetect = 1u << 4;
constexpr uint8_t GPOOneShotDelay = 1u << 0;
constexpr uint8_t AlarmEnable = 1u << 0;
constexpr uint8_t Alarm1PressurePSI = 1u << 1;
}  // namespace bits

struct FlagBit {
    const char* name;
    uint8_t ParameterSet::*flags;  // the flag byte it lives in (a Flags or FreshFlags row)
    uint8_t mask;
    bool ParameterSet::*member;
};

// Image offsets 16 to 122 in address order; reserved gaps are simply absent.
const std::vector<Field>& fields();
const std::vector<FlagBit>& flagBits();

// A row by its parameter name, or nullptr.
const Field* field(const char* name);
// A flag bit by its Boolean's name, or nullptr.
const FlagBit* flagBit(const char* name);

// What an offset of the configuration block holds: the parameter's name, "UserData"
// for the user text, "reserved" for the gaps.
QString nameAt(int offset);

}  // namespace layout
