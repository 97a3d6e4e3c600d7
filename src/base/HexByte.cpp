#include "base/HexByte.h"

QString HexByte(int value)
{
    return (QStringLiteral("00") + QString::number(value, 16).toUpper()).right(2);
}
