#include "device/tuner_connection.h"

// Closed until discovery opens it; the chip probe starts at the newest chip.
TunerConnection g_Tuner = {0, nullptr, nullptr, nullptr, 0x7164, 0, 0};

// In force until a board row matches: ready pin 7, I2C reader, variant 1.
BoardAttributes g_Board = {7, 2, 1};
