// Windowed library anchor.
