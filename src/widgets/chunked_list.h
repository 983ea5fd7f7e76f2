// A sequence addressed by index whose insertions and deletions move at most
// one chunk of elements, not the whole sequence: the grid's rows, where a
// record is inserted into or deleted from the middle of 100,000 rows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <class T> class ChunkedList {
public:
  static constexpr size_t kChunk = 512;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T &operator[](size_t index) {
    const size_t c = ChunkOf(index);
    return chunks_[c][index - starts_[c]];
  }
  const T &operator[](size_t index) const {
    return const_cast<ChunkedList *>(this)->operator[](index);
  }

  void clear() {
    chunks_.clear();
    starts_.clear();
    size_ = 0;
    dirtyFrom_ = 0;
  }

  void push_back(T value) { insert(size_, std::move(value)); }

  // Inserts value before index (appends when index == size()).
  void insert(size_t index, T value) {
    if (chunks_.empty()) {
      chunks_.emplace_back();
      starts_.push_back(0);
    }
    size_t c;
    if (index == size_) {
      c = chunks_.size() - 1;
      if (chunks_[c].size() >= kChunk) {
        chunks_.emplace_back();
        starts_.push_back(size_);
        ++c;
      }
    } else {
      c = ChunkOf(index);
    }
    std::vector<T> &chunk = chunks_[c];
    chunk.insert(chunk.begin() + std::ptrdiff_t(index - Start(c)),
                 std::move(value));
    ++size_;
    Touch(c);
    if (chunk.size() > 2 * kChunk)
      Split(c);
  }

  // Removes count elements from index on.
  void erase(size_t index, size_t count = 1) {
    while (count > 0) {
      const size_t c = ChunkOf(index);
      std::vector<T> &chunk = chunks_[c];
      const size_t offset = index - Start(c);
      const size_t n = std::min(count, chunk.size() - offset);
      chunk.erase(chunk.begin() + std::ptrdiff_t(offset),
                  chunk.begin() + std::ptrdiff_t(offset + n));
      size_ -= n;
      count -= n;
      Touch(c);
      if (chunk.empty()) {
        chunks_.erase(chunks_.begin() + std::ptrdiff_t(c));
        starts_.erase(starts_.begin() + std::ptrdiff_t(c));
        Touch(c);
      }
    }
  }

  template <class F> void for_each(F f) {
    for (std::vector<T> &chunk : chunks_)
      for (T &value : chunk)
        f(value);
  }

private:
  // The start indexes of chunks from dirtyFrom_ on are stale.
  void Touch(size_t c) { dirtyFrom_ = std::min(dirtyFrom_, c); }

  size_t Start(size_t c) {
    Refresh();
    return starts_[c];
  }

  void Refresh() {
    if (dirtyFrom_ >= chunks_.size())
      return;
    size_t start = dirtyFrom_ == 0
                       ? 0
                       : starts_[dirtyFrom_ - 1] + chunks_[dirtyFrom_ - 1].size();
    for (size_t c = dirtyFrom_; c < chunks_.size(); ++c) {
      starts_[c] = start;
      start += chunks_[c].size();
    }
    dirtyFrom_ = chunks_.size();
  }

  size_t ChunkOf(size_t index) {
    Refresh();
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    return size_t(it - starts_.begin()) - 1;
  }

  void Split(size_t c) {
    std::vector<T> &chunk = chunks_[c];
    std::vector<T> tail(std::make_move_iterator(chunk.begin() + kChunk),
                        std::make_move_iterator(chunk.end()));
    chunk.resize(kChunk);
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(c + 1), std::move(tail));
    starts_.insert(starts_.begin() + std::ptrdiff_t(c + 1), 0);
    Touch(c + 1);
  }

  std::vector<std::vector<T>> chunks_;
  std::vector<size_t> starts_;
  size_t size_ = 0;
  size_t dirtyFrom_ = 0;
};
