#include "params/paramset.h"

#include <QByteArray>

void ImageBuffer::ClearEEPROMBuffer()
{
    EEPROMBuffer.fill(0);
    BufferEmpty = true;
}

QByteArray ImageBuffer::configBlock() const
{
    return QByteArray(reinterpret_cast<const char*>(EEPROMBuffer.data()) + kConfigFirst, kConfigSize);
}

void ImageBuffer::setConfigBlock(const QByteArray& block)
{
    for (int i = 0; i < kConfigSize && i < block.size(); ++i)
        EEPROMBuffer[kConfigFirst + i] = static_cast<uint8_t>(block[i]);
}
