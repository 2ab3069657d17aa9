// The names a key-map file gives virtual keys and command delivery rules,
// both ways: the parser reads them, the writer prints them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controllers/actions.h"

// The key's name ("Return", "F2", "A", "Num1"), or nullptr for a key with
// none (the writer then prints "vk0xNN").
const char* KeyName(std::uint8_t vk);
// Reads one key name, any case, or "vk0xNN"; false for anything else.
bool ParseKeyName(const char* text, std::size_t len, std::uint8_t& vk);

// "main", "always", "not-viewer", "form", "form-message", "plain", "raised";
// nullptr for Delivery::None, which a file cannot name.
const char* DeliveryName(Delivery rule);
bool ParseDeliveryName(const char* text, std::size_t len, Delivery& rule);

// Case-insensitive comparison of text[0..len) with a NUL-terminated word.
bool SameWord(const char* text, std::size_t len, const char* word);
