#include "engine/trace.h"

#include <cstdio>

#include "os/os.h"

namespace {
const char kTag[] = "<RCMessageBox>  ";
}

void TraceText(const char* text) {
    char line[512];
    std::snprintf(line, sizeof line, "%s%s", kTag, text ? text : "");
    os::OutputDebugStringA(line);
}

void TraceValue(const char* text, std::int32_t value) {
    char body[256];
    std::snprintf(body, sizeof body, "%s (%X)", text ? text : "", static_cast<unsigned>(value));
    char line[512];
    std::snprintf(line, sizeof line, "%s%s", kTag, body);
    os::OutputDebugStringA(line);
}
