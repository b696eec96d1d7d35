// The growable array behind the language file's line index.
#pragma once

#include <climits>
#include <cstdlib>

#include "support/error_state.h"

template <class T>
class Array {
 public:
  Array() = default;
  Array(const Array&) = delete;
  Array& operator=(const Array&) = delete;
  ~Array() { std::free(items_); }

  // Adds n elements at the end, growing by a quarter plus 32. Running out of
  // memory ends the program.
  void AddItems(int n) {
    if (n < 0 || count_ > INT_MAX - n) g_errorState.OutOfMemory();
    count_ += n;
    if (capacity_ >= count_) return;
    long long wanted = static_cast<long long>(capacity_) + capacity_ / 4 + 32;
    if (wanted < count_) wanted = count_;
    if (wanted > static_cast<long long>(INT_MAX / sizeof(T))) g_errorState.OutOfMemory();
    void* grown = std::realloc(items_, static_cast<size_t>(wanted) * sizeof(T));
    if (!grown) g_errorState.OutOfMemory();
    items_ = static_cast<T*>(grown);
    capacity_ = static_cast<int>(wanted);
  }

  void Push(const T& value) {
    AddItems(1);
    items_[count_ - 1] = value;
  }

  // Forgets the elements and keeps the block.
  void Clear() { count_ = 0; }

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  T* begin() { return items_; }
  T* end() { return items_ + count_; }
  const T& operator[](int i) const { return items_[i]; }

 private:
  T* items_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};
