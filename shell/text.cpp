#include "shell/text.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "shell/fatal.h"

namespace orvane {
namespace {
std::atomic<AllocationFailureHook> g_failure_hook{nullptr};
}  // namespace

void HeapFree::operator()(unsigned char* p) const noexcept { std::free(p); }

void SetAllocationFailureHookForTesting(AllocationFailureHook hook) noexcept {
  g_failure_hook.store(hook);
}

HeapBlock TryAllocate(std::size_t n) noexcept {
  AllocationFailureHook hook = g_failure_hook.load();
  if (hook && hook(n)) return {};
  // malloc(0) may hand back null; a one-byte block keeps "allocated" and "failed" apart.
  return HeapBlock(static_cast<unsigned char*>(std::malloc(n ? n : 1)));
}

HeapBlock AllocateOrDie(std::size_t n) {
  HeapBlock block = TryAllocate(n);
  if (!block) ReportOutOfMemory(n);
  return block;
}

Text Text::Copy(std::string_view bytes) {
  std::size_t n = std::min(bytes.size(), bytes.find('\0'));
  Text t;
  t.block_ = AllocateOrDie(n + 1);
  std::memcpy(t.block_.get(), bytes.data(), n);
  t.block_[n] = 0;
  t.size_ = n;
  return t;
}

Text Text::Adopt(HeapBlock block, std::size_t size) {
  Text t;
  t.block_ = std::move(block);
  t.block_[size] = 0;
  t.size_ = size;
  return t;
}

Bytes Bytes::Copy(ByteView bytes) {
  Bytes b;
  b.Append(bytes);
  return b;
}

void Bytes::Append(ByteView more) {
  if (more.empty()) return;
  if (size_ + more.size() > capacity_) {
    std::size_t wanted = std::max(size_ + more.size(), capacity_ * 2);
    HeapBlock bigger = AllocateOrDie(wanted);
    if (size_) std::memcpy(bigger.get(), block_.get(), size_);
    block_ = std::move(bigger);
    capacity_ = wanted;
  }
  std::memcpy(block_.get() + size_, more.data(), more.size());
  size_ += more.size();
}

std::size_t Bytes::AppendUpTo(ByteView more, std::size_t limit) {
  std::size_t room = limit > size_ ? limit - size_ : 0;
  std::size_t taken = std::min(room, more.size());
  Append(more.first(taken));
  return taken;
}

}  // namespace orvane
