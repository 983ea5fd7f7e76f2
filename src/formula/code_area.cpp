// Code areas carved from slabs of pages.
//
// Mapping, protecting and unmapping a page for every formula costs several
// system calls and a page fault each time, more than compiling the formula.
// So areas are handed out one page at a time from a slab of pages mapped
// read-write. An area is switched to PROT_EXEC alone before its code runs,
// and stays so after it is given back: it is not written again until every
// area of its slab has been given back, when one mprotect makes the whole
// slab read-write again. No page is ever writable and executable at once, no
// page is written while its code may still be called, and an evaluation pays
// one mprotect plus a share of the slab's.
#include "formula/code_area.h"

#include <sys/mman.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace {

constexpr std::size_t kPagesPerSlab = 16;
// Slabs kept mapped while idle; more are unmapped once all their areas are
// back.
constexpr std::size_t kIdleSlabs = 2;

struct Slab {
  std::uint8_t *base = nullptr;
  std::size_t handedOut = 0;   // pages used since the slab was last writable
  std::size_t outstanding = 0; // pages not yet given back

  bool Holds(const std::uint8_t *area, std::size_t page) const {
    return area >= base && area < base + kPagesPerSlab * page;
  }
};

class SlabPool {
public:
  std::uint8_t *Obtain() {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (Slab &slab : slabs_) {
      if (slab.handedOut < kPagesPerSlab)
        return HandOut(slab);
    }
    for (Slab &slab : slabs_) {
      if (slab.outstanding == 0 && MakeWritable(slab))
        return HandOut(slab);
    }
    Slab slab;
    void *base = mmap(nullptr, kPagesPerSlab * page_, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
      return nullptr;
    slab.base = static_cast<std::uint8_t *>(base);
    slabs_.push_back(slab);
    return HandOut(slabs_.back());
  }

  bool Give(std::uint8_t *area) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t i = 0; i < slabs_.size(); ++i) {
      Slab &slab = slabs_[i];
      if (!slab.Holds(area, page_))
        continue;
      if (slab.outstanding == 0)
        return false; // not handed out
      --slab.outstanding;
      if (slab.outstanding == 0 && IdleCount() > kIdleSlabs)
        return Unmap(i);
      return true;
    }
    return false;
  }

  std::size_t Page() const { return page_; }

private:
  std::uint8_t *HandOut(Slab &slab) {
    ++slab.outstanding;
    return slab.base + page_ * slab.handedOut++;
  }

  // Only a slab none of whose areas is held, so none of whose code can be
  // running, is made writable again.
  bool MakeWritable(Slab &slab) {
    if (mprotect(slab.base, kPagesPerSlab * page_, PROT_READ | PROT_WRITE) != 0)
      return false;
    slab.handedOut = 0;
    return true;
  }

  std::size_t IdleCount() const {
    std::size_t idle = 0;
    for (const Slab &slab : slabs_)
      idle += slab.outstanding == 0 ? 1 : 0;
    return idle;
  }

  bool Unmap(std::size_t index) {
    const bool unmapped = munmap(slabs_[index].base, kPagesPerSlab * page_) == 0;
    slabs_.erase(slabs_.begin() + std::ptrdiff_t(index));
    return unmapped;
  }

  std::mutex mutex_;
  std::vector<Slab> slabs_;
  const std::size_t page_ = std::size_t(sysconf(_SC_PAGESIZE));
};

SlabPool &Pool() {
  static SlabPool pool;
  return pool;
}

} // namespace

std::size_t CodeAreaSize() { return Pool().Page(); }

std::uint8_t *ObtainCodeArea() { return Pool().Obtain(); }

bool MakeExecuteOnly(std::uint8_t *area) {
  return mprotect(area, CodeAreaSize(), PROT_EXEC) == 0;
}

bool ReturnCodeArea(std::uint8_t *area) { return Pool().Give(area); }
