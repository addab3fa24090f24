#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

namespace quorvanta {

// A fixed-capacity array indexed 1..Capacity, as the flight data is counted
// everywhere in the program. Every access is range-checked, so no input can
// read or write outside the storage.
template <typename T, int Capacity>
class OneBasedArray {
  static_assert(Capacity > 0);

 public:
  OneBasedArray() : items_(std::make_unique<T[]>(Capacity)) {}
  OneBasedArray(const OneBasedArray& other) : OneBasedArray() { *this = other; }
  OneBasedArray(OneBasedArray&& other) noexcept : OneBasedArray() { items_.swap(other.items_); }
  OneBasedArray& operator=(const OneBasedArray& other) {
    std::copy_n(other.items_.get(), Capacity, items_.get());
    return *this;
  }
  OneBasedArray& operator=(OneBasedArray&& other) noexcept {
    items_.swap(other.items_);
    return *this;
  }

  static constexpr int capacity() { return Capacity; }

  T& operator[](int index) { return items_[slot(index)]; }
  const T& operator[](int index) const { return items_[slot(index)]; }

 private:
  static std::size_t slot(int index) {
    if (index < 1 || index > Capacity) {
      throw std::out_of_range("index " + std::to_string(index) + " outside 1.." +
                              std::to_string(Capacity));
    }
    return static_cast<std::size_t>(index - 1);
  }

  std::unique_ptr<T[]> items_;
};

}  // namespace quorvanta
