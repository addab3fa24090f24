#pragma once

#include <cstdint>
#include <initializer_list>

namespace quorvanta {

// A set of the members of a small enumeration (at most 32 members), stored
// as one bit per member.
template <typename Enum>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<Enum> members) {
    for (const Enum member : members) insert(member);
  }

  constexpr bool contains(Enum member) const { return (bits_ & bit(member)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr EnumSet& insert(Enum member) {
    bits_ |= bit(member);
    return *this;
  }
  constexpr EnumSet& remove(Enum member) {
    bits_ &= ~bit(member);
    return *this;
  }
  constexpr EnumSet& operator|=(const EnumSet& other) {
    bits_ |= other.bits_;
    return *this;
  }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  static constexpr std::uint32_t bit(Enum member) {
    return std::uint32_t{1} << static_cast<unsigned>(member);
  }

  std::uint32_t bits_ = 0;
};

}  // namespace quorvanta
