#include "input/read_ahead.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

namespace quarnel {

std::size_t read_fully_at(OsFile& file, std::int64_t position, std::uint8_t* destination,
                          std::size_t size) {
    std::size_t delivered = 0;
    while (delivered < size) {
        const auto got = file.read_at(position + static_cast<std::int64_t>(delivered),
                                      destination + delivered, size - delivered);
        if (!got || *got == 0) break;  // the end of the file, or an error that would repeat
        delivered += *got;
    }
    return delivered;
}

ReadAhead::~ReadAhead() {
    if (!helper_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    helper_.join();
}

bool ReadAhead::start_helper() {
    if (helper_.joinable()) return true;
    try {
        helper_ = std::thread([this] { serve(); });
    } catch (const std::system_error&) {
        return false;  // no thread to be had: every read is made by the caller
    }
    return true;
}

ReadAhead::Block* ReadAhead::claim_block() {
    if (file_ == nullptr || run_ended_) return nullptr;
    const auto free = std::find_if(blocks_.begin(), blocks_.end(), [](const Block& block) {
        return block.state == BlockState::free;
    });
    if (free == blocks_.end()) return nullptr;
    if (free->capacity < block_size_) {
        free->bytes.reset(new (std::nothrow) std::uint8_t[block_size_]);
        free->capacity = free->bytes ? block_size_ : 0;
        if (!free->bytes) {
            run_ended_ = true;  // the caller reads on by itself
            return nullptr;
        }
    }
    free->state = BlockState::fetching;
    free->position = claim_position_;
    claim_position_ += static_cast<std::int64_t>(block_size_);
    return &*free;
}

void ReadAhead::fetch(std::unique_lock<std::mutex>& lock, Block& block) {
    OsFile& file = *file_;
    const std::size_t size = block_size_;
    lock.unlock();
    const std::size_t got = read_fully_at(file, block.position, block.bytes.get(), size);
    lock.lock();
    block.filled = got;
    block.state = BlockState::ready;
    if (got < size) run_ended_ = true;
    changed_.notify_all();
}

void ReadAhead::serve() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (Block* block = claim_block())
            fetch(lock, *block);
        else
            changed_.wait(lock);
    }
}

void ReadAhead::forget(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] {
        return std::none_of(blocks_.begin(), blocks_.end(),
                            [](const Block& block) { return block.state == BlockState::fetching; });
    });
    for (Block& block : blocks_) block.state = BlockState::free;
    loan_ = nullptr;
    file_ = nullptr;
    run_ended_ = false;
}

void ReadAhead::forget() {
    std::unique_lock lock(mutex_);
    forget(lock);
    last_file_ = nullptr;
}

ReadAhead::Block* ReadAhead::wait_for_block(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        const auto wanted = std::find_if(blocks_.begin(), blocks_.end(), [this](const Block& b) {
            return (b.state == BlockState::fetching || b.state == BlockState::ready) &&
                   b.position == read_position_;
        });
        if (wanted != blocks_.end() && wanted->state == BlockState::ready) return &*wanted;
        if (wanted == blocks_.end() && run_ended_) return nullptr;
        if (Block* block = claim_block())
            fetch(lock, *block);
        else
            changed_.wait(lock);
    }
}

void ReadAhead::end_loan() {
    if (loan_ == nullptr) return;
    loan_->state = BlockState::free;
    loan_ = nullptr;
    changed_.notify_all();
}

std::span<const std::uint8_t> ReadAhead::lend_at(OsFile& file, std::int64_t position,
                                                 std::size_t size) {
    std::unique_lock lock(mutex_);
    end_loan();
    if (!continues_run(file, position, size)) return {};
    Block* const block = wait_for_block(lock);
    // A last block that came short is left to read_at, which reads on after it.
    if (block == nullptr || block->filled != size) return {};
    block->state = BlockState::lent;
    loan_ = block;
    read_position_ += static_cast<std::int64_t>(size);
    return {block->bytes.get(), size};
}

std::size_t ReadAhead::read_at(OsFile& file, std::int64_t position, std::uint8_t* destination,
                               std::size_t size) {
    std::unique_lock lock(mutex_);
    end_loan();
    std::size_t delivered = 0;
    if (continues_run(file, position, size)) {
        if (Block* const block = wait_for_block(lock)) {
            // Nobody writes a ready block: it can be copied unlocked.
            lock.unlock();
            std::memcpy(destination, block->bytes.get(), block->filled);
            lock.lock();
            delivered = block->filled;
            block->state = BlockState::free;
            read_position_ += static_cast<std::int64_t>(delivered);
            changed_.notify_all();
            if (delivered == size) return delivered;
        }
    }

    // Not part of a run, or the run's last block came short (the file may have grown since,
    // or failed to read): read here, and start a new run when this read continues the last.
    forget(lock);
    lock.unlock();
    delivered += read_fully_at(file, position + static_cast<std::int64_t>(delivered),
                               destination + delivered, size - delivered);
    lock.lock();
    const std::int64_t end = position + static_cast<std::int64_t>(delivered);
    const bool run_starts = size >= smallest_block && delivered == size && last_file_ == &file &&
                            last_size_ == size && last_end_ == position;
    last_file_ = &file;
    last_end_ = end;
    last_size_ = size;
    if (run_starts && start_helper()) {
        file_ = &file;
        block_size_ = size;
        read_position_ = claim_position_ = end;
        changed_.notify_all();
    }
    return delivered;
}

}  // namespace quarnel
