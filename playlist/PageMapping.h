#pragma once
// Anonymous memory straight from the kernel, for the playlist's big arrays. Large mappings
// are 2 MB aligned and asked to be backed by huge pages: on a virtual machine a 4 KB page
// fault or TLB miss is expensive, and a million-entry list touches hundreds of megabytes.

#include <cstddef>
#include <memory>
#include <utility>

namespace lumivox {

inline constexpr std::size_t kHugePageBytes = 2 * 1024 * 1024;

struct PageUnmap {
  std::size_t bytes = 0;
  void operator()(void* pages) const;
};
using PageMapping = std::unique_ptr<void, PageUnmap>;

// Zero-filled, readable and writable; throws std::bad_alloc when the kernel says no.
PageMapping MapPages(std::size_t bytes);

// A fixed-size, zero-initialised array of a trivial type in its own mapping.
template <class T>
class PageArray {
 public:
  PageArray() = default;
  explicit PageArray(std::size_t count) : count_(count), pages_(MapPages(count * sizeof(T))) {}
  PageArray(PageArray&& other) noexcept : count_(std::exchange(other.count_, 0)), pages_(std::move(other.pages_)) {}
  PageArray& operator=(PageArray&& other) noexcept {
    count_ = std::exchange(other.count_, 0);
    pages_ = std::move(other.pages_);
    return *this;
  }

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  T& operator[](std::size_t i) { return static_cast<T*>(pages_.get())[i]; }
  const T& operator[](std::size_t i) const { return static_cast<const T*>(pages_.get())[i]; }
  T* begin() { return static_cast<T*>(pages_.get()); }
  T* end() { return begin() + count_; }

 private:
  std::size_t count_ = 0;
  PageMapping pages_;
};

// The storage of a big std::vector of the playlist: from a huge page's size on, a mapping
// of its own backed by huge pages; below it, the heap's.
template <class T>
struct PageAllocator {
  using value_type = T;

  PageAllocator() = default;
  template <class U>
  PageAllocator(const PageAllocator<U>&) {}

  T* allocate(std::size_t count) {
    if (count * sizeof(T) < kHugePageBytes) return std::allocator<T>().allocate(count);
    return static_cast<T*>(MapPages(count * sizeof(T)).release());
  }
  void deallocate(T* items, std::size_t count) {
    if (count * sizeof(T) < kHugePageBytes) return std::allocator<T>().deallocate(items, count);
    PageUnmap{count * sizeof(T)}(items);
  }
  friend bool operator==(const PageAllocator&, const PageAllocator&) { return true; }
};

}  // namespace lumivox
