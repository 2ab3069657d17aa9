// Reading the remote's codes through the card's capture driver: the pin and
// I2C property requests of both driver dialects, and the decoders on top.
#pragma once
#include <cstdint>

#include "device/tuner_connection.h"

bool ReadIRPin(TunerPath path, std::uint8_t pin, std::uint8_t* level);
bool ReadI2CBlock(TunerPath path, std::uint8_t deviceAddress, std::uint8_t writeByte,
                  bool hasWriteByte, std::uint8_t* buffer, std::uint32_t length);
// True when a code waits, and also when the driver cannot be asked.
bool IsIRKeyPending();
// Raw code 0..255; 255 means no key.
std::uint8_t ReadIRCodeFromPins();
std::uint8_t ReadIRCodeFromI2C();
