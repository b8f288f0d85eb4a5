// Push and pop of the tree-building queue, step by step.
#include "store/codec/node_queue.h"

NodeQueue programNodeQueue;

void NodeQueue::SiftUp(std::size_t hole, HuffNode* node) {
  while (hole > 0) {
    const std::size_t parent = (hole - 1) / 2;
    if (!(slots_[parent]->weight > node->weight)) break;
    slots_[hole] = slots_[parent];
    hole = parent;
  }
  slots_[hole] = node;
}

void NodeQueue::Push(HuffNode* node) {
  slots_.push_back(node);
  SiftUp(slots_.size() - 1, node);
}

HuffNode* NodeQueue::Pop() {
  if (slots_.empty()) return nullptr;
  HuffNode* const result = slots_[0];
  HuffNode* const last = slots_.back();
  const std::size_t count = slots_.size() - 1;  // after the pop

  // Move the hole at slot 0 down to a leaf of the heap, always into the
  // lighter child and into the right one on equal weights.
  std::size_t hole = 0;
  std::size_t child = 2 * hole + 2;
  while (child < count) {
    if (slots_[child]->weight > slots_[child - 1]->weight) --child;
    slots_[hole] = slots_[child];
    hole = child;
    child = 2 * hole + 2;
  }
  if (child == count) {  // a left child without a right one
    slots_[hole] = slots_[count - 1];
    hole = count - 1;
  }
  SiftUp(hole, last);
  slots_.pop_back();
  return result;
}
