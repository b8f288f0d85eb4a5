// Construction and release of code-tree nodes.
#include "store/codec/huff_node.h"

std::int32_t WrappingSum(std::int32_t a, std::int32_t b) {
  // Unsigned addition wraps by definition; C++20 converts back modulo 2^32.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

HuffNode::HuffNode(std::uint8_t symbol, std::int32_t weight) : weight(weight), symbol(symbol) {}

HuffNode::HuffNode(HuffNode* left, HuffNode* right)
    : left(left), right(right), weight(WrappingSum(left->weight, right->weight)) {}

HuffNode::~HuffNode() { DestroyTree(this); }

void DestroyTree(HuffNode* node) {
  // Each child's destructor releases its own children first. Depth is at most
  // 255 (one level per distinct byte value), so recursion is bounded.
  delete node->left;
  node->left = nullptr;
  delete node->right;
  node->right = nullptr;
}
