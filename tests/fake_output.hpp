// A scripted stand-in for a platform output, linked in place of the real one, so that the stream
// engine's own logic can be checked without a device.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct FakeOutput {
    std::mutex mutex;
    std::condition_variable changed;

    // The script.
    std::string open_failure;       // non-empty: output_open fails with this text
    int writes_before_failing = -1; // >= 0: that many writes succeed, then one fails
    bool drain_released = true;     // output_drain waits until this is true (or a stop)

    // What happened, in order: "open", "write <n>", "drain", "drained", "close".
    std::vector<std::string> events;
    std::vector<std::int16_t> samples; // everything written
};

FakeOutput& fake_output();
void reset_fake_output();
