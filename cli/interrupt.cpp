#include "cli/interrupt.h"

#include <csignal>

namespace quarnel::cli {
namespace {

// A signal handler may only store to a volatile sig_atomic_t (C++ [support.signal]).
volatile std::sig_atomic_t interrupt_seen = 0;

extern "C" void on_interrupt(int) {
    interrupt_seen = 1;
}

}  // namespace

void catch_interrupts() {
    std::signal(SIGINT, on_interrupt);
}

bool interrupted() {
    return interrupt_seen != 0;
}

}  // namespace quarnel::cli
