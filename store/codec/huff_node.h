// One node of the Huffman code tree: a leaf for a byte value, or an internal
// node that owns its two children.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct HuffNode {
  // Symbol of every internal node and of the placeholder leaf of a one-symbol tree.
  static constexpr std::uint8_t kInternalSymbol = 32;

  HuffNode* left = nullptr;   // owned; null in a leaf
  HuffNode* right = nullptr;  // owned; null in a leaf
  // A leaf: how often its byte occurs. An internal node: the sum of its
  // children's weights, wrapping as 32-bit two's complement would.
  std::int32_t weight = 0;
  std::uint8_t symbol = kInternalSymbol;

  // A leaf for `symbol` occurring `weight` times.
  HuffNode(std::uint8_t symbol, std::int32_t weight);
  // An internal node that takes ownership of both children.
  HuffNode(HuffNode* left, HuffNode* right);
  ~HuffNode();

  HuffNode(const HuffNode&) = delete;
  HuffNode& operator=(const HuffNode&) = delete;

  bool IsLeaf() const { return left == nullptr && right == nullptr; }
};

// Releases the subtrees of `node` (the left one completely before the right
// one) and leaves its children null; the caller releases `node` itself.
void DestroyTree(HuffNode* node);

// The sum of two weights as 32-bit two's complement, without signed overflow.
std::int32_t WrappingSum(std::int32_t a, std::int32_t b);

// The code of one byte value: the path from the root, one entry per step,
// 0 for a left child and 1 for a right child. Empty when the value has no code.
using HuffCode = std::vector<std::uint8_t>;
using CodeTable = std::array<HuffCode, 256>;
