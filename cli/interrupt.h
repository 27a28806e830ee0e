#pragma once
// Ctrl-C while quarnel-cli works: the first one asks the running scan to stop and the
// remaining files to be skipped, so that nothing half-made is written.

namespace quarnel::cli {

// From now on SIGINT only raises the flag below.
void catch_interrupts();

// True once SIGINT arrived after catch_interrupts().
bool interrupted();

}  // namespace quarnel::cli
