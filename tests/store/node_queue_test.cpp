// The tree-building queue against the standard library's heap algorithms.
#include "store/codec/node_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

bool Heavier(const HuffNode* a, const HuffNode* b) { return a->weight > b->weight; }

TEST(NodeQueue, SameArraysAsStdHeapOnRandomPushesAndPops) {
  std::mt19937 random(2024);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Few distinct weights, so that ties are everywhere.
    std::uniform_int_distribution<int> weight(0, round % 2 == 0 ? 3 : 1000);
    std::vector<std::unique_ptr<HuffNode>> nodes;
    NodeQueue queue;
    std::vector<HuffNode*> reference;
    for (int step = 0; step < 300; ++step) {
      const bool push = reference.empty() || random() % 3 != 0;
      if (push) {
        nodes.push_back(
            std::make_unique<HuffNode>(static_cast<std::uint8_t>(step), weight(random)));
        queue.Push(nodes.back().get());
        reference.push_back(nodes.back().get());
        std::push_heap(reference.begin(), reference.end(), Heavier);
      } else {
        std::pop_heap(reference.begin(), reference.end(), Heavier);
        HuffNode* expected = reference.back();
        reference.pop_back();
        ASSERT_EQ(queue.Pop(), expected) << "step " << step;
      }
      ASSERT_EQ(queue.Slots(), reference) << "step " << step;
    }
  }
}

TEST(NodeQueue, AbracadabraLeavesGiveTheKnownHeap) {
  HuffNode a('a', 5), b('b', 2), c('c', 1), d('d', 1), r('r', 2);
  NodeQueue queue;
  for (HuffNode* node : {&a, &b, &c, &d, &r}) queue.Push(node);
  EXPECT_EQ(queue.Slots(), (std::vector<HuffNode*>{&c, &d, &b, &a, &r}));
  EXPECT_EQ(queue.Pop(), &c);
  EXPECT_EQ(queue.Pop(), &d);
}

TEST(NodeQueue, PopOfEmptyQueueGivesNull) {
  NodeQueue queue;
  EXPECT_EQ(queue.Pop(), nullptr);
}

}  // namespace
