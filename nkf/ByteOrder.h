#pragma once

// The order of the two bytes of a UTF-16 unit.
enum class ByteOrder { LittleEndian, BigEndian };
