#include "fake_output.hpp"

#include "output.hpp"

#include <chrono>
#include <cstdio>

struct SoundOutput {};

namespace {

FakeOutput* fake = new FakeOutput; // never destroyed: a playback thread may outlive a test
SoundOutput device;

void say(OutputError& error, const std::string& text) {
    std::snprintf(error.text, sizeof error.text, "%s", text.c_str());
}

void record(const std::string& event) {
    fake->events.push_back(event);
    fake->changed.notify_all();
}

} // namespace

FakeOutput& fake_output() {
    return *fake;
}

void reset_fake_output() {
    const std::lock_guard lock(fake->mutex);
    fake->open_failure.clear();
    fake->writes_before_failing = -1;
    fake->drain_released = true;
    fake->events.clear();
    fake->samples.clear();
}

SoundOutput* output_open(int /*sample_rate*/, int /*block_frames*/, OutputError& error) {
    const std::lock_guard lock(fake->mutex);
    if (!fake->open_failure.empty()) {
        say(error, fake->open_failure);
        return nullptr;
    }
    record("open");
    return &device;
}

bool output_write(SoundOutput* /*output*/, const std::int16_t* samples, int frames,
                  const std::atomic<bool>& /*stop*/, OutputError& error) {
    const std::lock_guard lock(fake->mutex);
    if (fake->writes_before_failing == 0) {
        say(error, "the fake device went away");
        return false;
    }
    --fake->writes_before_failing;
    fake->samples.insert(fake->samples.end(), samples, samples + frames);
    record("write " + std::to_string(frames));
    return true;
}

bool output_drain(SoundOutput* /*output*/, const std::atomic<bool>& stop, OutputError& /*error*/) {
    std::unique_lock lock(fake->mutex);
    record("drain");
    while (!fake->drain_released && !stop) {
        fake->changed.wait_for(lock, std::chrono::milliseconds(5));
    }
    record("drained");
    return true;
}

void output_close(SoundOutput* /*output*/) {
    const std::lock_guard lock(fake->mutex);
    record("close");
}
