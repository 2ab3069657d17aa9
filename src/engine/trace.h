// Debugger-output lines of the key engine, each with the "<RCMessageBox>  " tag.
#pragma once
#include <cstdint>

void TraceText(const char* text);
// text + " (%X)" of value as unsigned 32-bit.
void TraceValue(const char* text, std::int32_t value);
