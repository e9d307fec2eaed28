#pragma once
// Where every audio frame of a file starts, in order, kept in blocks of a fixed
// number of offsets: a file of tens of millions of tiny frames takes what its
// frames need, where one array growing by doubling took up to twice that and
// copied itself at each step.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

class FrameOffsets {
public:
    // Offsets a block holds (512 KB of them).
    static constexpr std::size_t kBlockOffsets = std::size_t{1} << 16;

    class Iterator {
    public:
        Iterator(const FrameOffsets& offsets, std::size_t at) noexcept : offsets_(&offsets), at_(at) {}
        std::uint64_t operator*() const noexcept { return (*offsets_)[at_]; }
        Iterator& operator++() noexcept {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator& other) const noexcept { return at_ == other.at_; }

    private:
        const FrameOffsets* offsets_;
        std::size_t at_;
    };

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    std::uint64_t operator[](std::size_t frame) const noexcept { return blocks_[frame / kBlockOffsets][frame % kBlockOffsets]; }
    std::uint64_t front() const noexcept { return (*this)[0]; }
    std::uint64_t back() const noexcept { return (*this)[size_ - 1]; }
    Iterator begin() const noexcept { return {*this, 0}; }
    Iterator end() const noexcept { return {*this, size_}; }

    void push_back(std::uint64_t offset) {
        if (size_ % kBlockOffsets == 0) blocks_.emplace_back();
        blocks_.back().push_back(offset);
        ++size_;
    }
    void clear() noexcept {
        blocks_.clear();
        size_ = 0;
    }

    // Bytes the offsets take, with the room their last block has left.
    std::size_t Bytes() const noexcept {
        std::size_t bytes = blocks_.capacity() * sizeof(std::vector<std::uint64_t>);
        for (const std::vector<std::uint64_t>& block : blocks_) bytes += block.capacity() * sizeof(std::uint64_t);
        return bytes;
    }

private:
    // Each grows as a vector does, to kBlockOffsets at most; only the last is not full.
    std::vector<std::vector<std::uint64_t>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace media
