// The router's stages for the key-map file's user applications, tried after
// the eight built-in applications in each stage.
#pragma once
#include <cstdint>

// Stage 1: an active user application whose window exists takes the code
// (the layout's power key closes or starts it); true when one did.
bool RouteToActiveUserApp(std::int32_t code, bool heldPower);
// First detection: the first user application found running takes the code
// and becomes active; true when one did.
bool RouteToFirstFoundUserApp(std::int32_t code);
// The launch path for a user application's DefaultTVAPP: every other
// application closed, then it starts or closes. False for other codes.
bool RunUserLaunchPath(std::int32_t target);
