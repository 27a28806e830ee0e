#pragma once
// Reads a file in large blocks with the next blocks fetched ahead on a second thread.
// Scanning a recording that sits in the system's file cache costs mostly the copy out of
// that cache; done ahead on another core, it overlaps the analysis of the block before.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "input/file_set_os.h"

namespace quarnel {

// Reads up to `size` bytes from `position` on, looping over short reads: fewer only at the
// end of the file or on an error.
std::size_t read_fully_at(OsFile& file, std::int64_t position, std::uint8_t* destination,
                          std::size_t size);

class ReadAhead {
  public:
    // Smaller reads are never fetched ahead: they come from probing, not from a scan.
    static constexpr std::size_t smallest_block = 128 * 1024;
    // Blocks fetched ahead at most.
    static constexpr std::size_t depth = 4;

    ReadAhead() = default;
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead();

    // read_fully_at. Once two reads of the same size follow each other, the blocks after them
    // are fetched ahead, and later reads that continue the run are served from those.
    std::size_t read_at(OsFile& file, std::int64_t position, std::uint8_t* destination,
                        std::size_t size);

    // What read_at would deliver, but where the block fetched ahead lies instead of copied:
    // its bytes stay valid until the next call of read_at, lend_at or forget. Empty when those
    // bytes are not a whole block of the run; read_at then delivers them.
    std::span<const std::uint8_t> lend_at(OsFile& file, std::int64_t position, std::size_t size);

    // Drops the blocks fetched ahead and waits until no block is being fetched; call before
    // the file given to read_at closes.
    void forget();

  private:
    enum class BlockState { free, fetching, ready, lent };
    struct Block {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t capacity = 0;
        std::size_t filled = 0;
        std::int64_t position = 0;
        BlockState state = BlockState::free;
    };

    bool start_helper();
    void serve();
    void forget(std::unique_lock<std::mutex>& lock);
    // The free block given the run's next position to fetch; null when every block is taken,
    // the run ended or no block could be allocated.
    Block* claim_block();
    // Fetches a claimed block, unlocking while it reads.
    void fetch(std::unique_lock<std::mutex>& lock, Block& block);
    bool continues_run(const OsFile& file, std::int64_t position, std::size_t size) const {
        return file_ == &file && size == block_size_ && position == read_position_;
    }
    // The run's block at read_position_ once it is fetched, fetching blocks ahead meanwhile
    // rather than waiting idle; null when the run ended before that position.
    Block* wait_for_block(std::unique_lock<std::mutex>& lock);
    // Frees the block lent last, if any.
    void end_loan();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<Block, depth> blocks_;
    Block* loan_ = nullptr;  // the block lend_at lent last
    bool run_ended_ = false;  // a fetch came short: nothing after it is fetched
    bool stopping_ = false;
    // The run being fetched: its file, block size, and the positions of the next block to be
    // read and of the next one to claim. No run while file_ is null.
    OsFile* file_ = nullptr;
    std::size_t block_size_ = 0;
    std::int64_t read_position_ = 0;
    std::int64_t claim_position_ = 0;
    // Where the last read ended, and its size, to recognise the start of a run.
    const OsFile* last_file_ = nullptr;
    std::int64_t last_end_ = -1;
    std::size_t last_size_ = 0;
    std::thread helper_;
};

}  // namespace quarnel
