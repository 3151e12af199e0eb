#include "emulator/factoryimage.h"

#include "params/codec.h"
#include "params/defaults.h"

QByteArray factoryConfigBlock()
{
    ParameterSet params;
    assignDefaults(params);
    ImageBuffer image;
    // The factory values always fit their encodings, so this cannot fail.
    UpdateEEPROM(params, image);
    return image.configBlock();
}
