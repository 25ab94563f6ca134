#pragma once

#include <cstdint>

// A millisecond clock for code that paces itself by waiting: each wait moves
// it on by one. Code that spins without waiting still sees it creep on, a
// millisecond every thousand reads, so that its test ends and can tell.
class FakeClock {
  public:
    explicit FakeClock(uint32_t start) : now(start) {}

    uint32_t Read() {
        if (++readsSinceWait_ > 1000) {
            ++now;
            readsSinceWait_ = 0;
        }
        return now;
    }
    void Wait() {
        ++now;
        ++waits;
        readsSinceWait_ = 0;
    }

    uint32_t now;
    uint32_t waits = 0;

  private:
    int readsSinceWait_ = 0;
};
