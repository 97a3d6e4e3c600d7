#pragma once
#include <QString>

// Two upper-case hexadecimal digits of a value 0 to 255.
QString HexByte(int value);
