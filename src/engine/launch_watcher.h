// The launch watcher: while WatchTimer runs, it notices that a launched TV
// application's window has gone and clears its active mark, so that the
// next power key launches it anew.
#pragma once

// WatchTimer's callback, once a second.
void OnWatchTimer();

constexpr unsigned kSweepWaitMs = 2000;
