// Texts and byte buffers as the whole program handles them.
//
// A text is a NUL-terminated byte string in code page 936 (GBK), or no text at all ("missing").
// A missing text and the empty text behave alike in every operation; the difference only shows in
// what an operation hands back. Every text and buffer owns its bytes: they are freed exactly once,
// when the owner goes away. Memory comes from AllocateOrDie, whose failure is the fatal error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace orvane {

struct HeapFree {
  void operator()(unsigned char* p) const noexcept;
};
using HeapBlock = std::unique_ptr<unsigned char[], HeapFree>;

// A block of n bytes (n may be 0). A failed allocation reports "分配 n 字节内存失败!" and does
// not return.
HeapBlock AllocateOrDie(std::size_t n);

// Like AllocateOrDie, but hands back an empty block when memory runs out.
HeapBlock TryAllocate(std::size_t n) noexcept;

// Lets tests make allocations fail: while the hook returns true for a size, that allocation fails.
using AllocationFailureHook = bool (*)(std::size_t n);
void SetAllocationFailureHookForTesting(AllocationFailureHook hook) noexcept;

// An owned text. Default-constructed it is missing.
class Text {
 public:
  Text() = default;
  Text(Text&&) noexcept = default;
  Text& operator=(Text&&) noexcept = default;

  // A new text holding the bytes up to the first NUL of `bytes` (never missing; maybe empty).
  static Text Copy(std::string_view bytes);
  // Takes over a block of at least size + 1 bytes whose first `size` bytes hold no NUL.
  static Text Adopt(HeapBlock block, std::size_t size);

  bool missing() const { return !block_; }
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const char* c_str() const { return block_ ? reinterpret_cast<const char*>(block_.get()) : ""; }
  std::string_view view() const { return {c_str(), size_}; }

 private:
  HeapBlock block_;
  std::size_t size_ = 0;
};

// A borrowed text: a NUL-terminated byte string or null (missing). Constants and owned texts both
// convert to it, so the text rules take either.
class TextRef {
 public:
  constexpr TextRef() = default;
  constexpr TextRef(const char* s) : p_(s) {}  // NOLINT: implicit on purpose
  TextRef(const Text& t) : p_(t.missing() ? nullptr : t.c_str()) {}  // NOLINT
  constexpr bool missing() const { return p_ == nullptr; }
  constexpr const char* c_str() const { return p_ ? p_ : ""; }
  const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(c_str()); }
  std::string_view view() const { return c_str(); }

 private:
  const char* p_ = nullptr;
};

using ByteView = std::span<const unsigned char>;

// An owned, growable byte buffer. Empty and "no buffer" are the same thing.
class Bytes {
 public:
  Bytes() = default;
  Bytes(Bytes&&) noexcept = default;
  Bytes& operator=(Bytes&&) noexcept = default;

  static Bytes Copy(ByteView bytes);

  const unsigned char* data() const { return block_.get(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  ByteView view() const { return {block_.get(), size_}; }
  std::string_view chars() const { return {reinterpret_cast<const char*>(block_.get()), size_}; }

  // Appends bytes, growing the buffer; running out of memory is the fatal error.
  void Append(ByteView more);
  // Appends as much as fits without the buffer passing `limit` bytes; returns how many were taken.
  std::size_t AppendUpTo(ByteView more, std::size_t limit);

 private:
  HeapBlock block_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace orvane
