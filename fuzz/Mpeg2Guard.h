#pragma once
// libmpeg2's allocations on pages of their own between two inaccessible pages, each block
// ending (to within its 64-byte alignment) right at the second one, so that running past it
// faults at once even though libmpeg2 itself carries no sanitizer. One guard at a time; it must
// outlive every decoder made while it is in place.

namespace lumivox::fuzz {

class Mpeg2Guard {
 public:
  enum class Freed {
    kUnmapped,    // cheap for millions of blocks; an address may be handed out again
    kUnreadable,  // kept reserved, so any later use of a freed block faults
  };
  explicit Mpeg2Guard(Freed freed);
  ~Mpeg2Guard();
  Mpeg2Guard(const Mpeg2Guard&) = delete;
  Mpeg2Guard& operator=(const Mpeg2Guard&) = delete;
};

}  // namespace lumivox::fuzz
