#pragma once
#include <QByteArray>

// The 144-byte configuration block of a controller fresh from the factory: the
// factory defaults encoded as the program encodes them.
QByteArray factoryConfigBlock();
