// The priority queue that builds the code tree. Its push and pop steps fix
// how ties between equal weights break, and so the shape of the tree: every
// file ever written depends on them, so they must never change.
#pragma once

#include <cstddef>
#include <vector>

#include "store/codec/huff_node.h"

// A binary min-heap of node pointers in the usual array layout (children of
// slot i at 2i+1 and 2i+2). It only points at nodes and never releases them.
// Only the strict test "weight of x > weight of y" (signed 32-bit) is made:
// a sift-up stops below a parent of equal weight, and of two children of
// equal weight the hole moves into the right one. These are exactly the
// steps of std::push_heap and std::pop_heap under a greater-weight
// comparison.
class NodeQueue {
 public:
  // Adds `node`, sifting it up from the end.
  void Push(HuffNode* node);
  // Removes and returns the node in slot 0 (a node of least weight), or
  // returns null when the queue is empty.
  HuffNode* Pop();
  bool Empty() const { return slots_.empty(); }
  std::size_t Size() const { return slots_.size(); }
  // The heap array, slot by slot.
  const std::vector<HuffNode*>& Slots() const { return slots_; }

 private:
  // Moves `node` up from the hole at slot `hole` and stores it there.
  void SiftUp(std::size_t hole, HuffNode* node);

  std::vector<HuffNode*> slots_;
};

// The one queue of the program. Every tree build uses it and leaves it
// empty, so no two tree builds may overlap (the program has one thread).
extern NodeQueue programNodeQueue;
