#pragma once
// The program's icon: the splash's shift light folded into a square, its eight
// lamps in two rows, so it stays readable at menu sizes.
#include <QIcon>
#include <QImage>

// The icon drawn at `size` x `size` pixels.
QImage shiftLightIcon(int size);

// The icon the windows carry: the installed theme icon when there is one, else
// the drawn one at the usual sizes.
QIcon applicationIcon();
