#include "unit/AnimationListEdit.h"

#include <gtest/gtest.h>
#include <iterator>

namespace fenwold {
namespace {

// A list whose animations are told apart by their index field.
RegisteredAnimations ListOf(int count) {
    RegisteredAnimations list;
    for (int i = 0; i < count; ++i) {
        list.emplace_back().index = i;
    }
    return list;
}

std::vector<int> Order(const RegisteredAnimations& list) {
    std::vector<int> order;
    for (const auto& animation : list) {
        order.push_back(animation.index);
    }
    // Walking backwards must give the same list: the links are whole.
    std::vector<int> backwards;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        backwards.insert(backwards.begin(), it->index);
    }
    EXPECT_EQ(order, backwards);
    return order;
}

RegisteredAnimations::iterator At(RegisteredAnimations& list, int position) {
    return std::next(list.begin(), position);
}

TEST(ChangeAnimations, FirstAndLastExchangeAndStayTheEnds) {
    auto list = ListOf(4);
    const RegisteredAnimation* first = &list.front();
    ExchangeAnimations(list, At(list, 0), At(list, 3));
    EXPECT_EQ(Order(list), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(&list.back(), first); // the node moved, it was not copied
}

TEST(ChangeAnimations, NeighboursInEitherOrder) {
    auto list = ListOf(4);
    ExchangeAnimations(list, At(list, 1), At(list, 2));
    EXPECT_EQ(Order(list), (std::vector<int>{0, 2, 1, 3}));
    ExchangeAnimations(list, At(list, 2), At(list, 1));
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 3}));
    ExchangeAnimations(list, At(list, 3), At(list, 2));
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 3, 2}));
}

TEST(ChangeAnimations, NoneOrTheSameChangesNothing) {
    auto list = ListOf(3);
    ExchangeAnimations(list, At(list, 1), list.end());
    ExchangeAnimations(list, list.end(), At(list, 1));
    ExchangeAnimations(list, At(list, 1), At(list, 1));
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2}));
}

TEST(HoldAnimation, MovesRightAfterTheTarget) {
    auto list = ListOf(5);
    MoveAnimationAfter(list, At(list, 0), At(list, 3));
    EXPECT_EQ(Order(list), (std::vector<int>{1, 2, 3, 0, 4}));
    MoveAnimationAfter(list, At(list, 4), At(list, 0)); // the last moves to the front part
    EXPECT_EQ(Order(list), (std::vector<int>{1, 4, 2, 3, 0}));
    MoveAnimationAfter(list, At(list, 1), At(list, 4)); // onto the last: the new last
    EXPECT_EQ(Order(list), (std::vector<int>{1, 2, 3, 0, 4}));
    EXPECT_EQ(list.back().index, 4);
}

TEST(HoldAnimation, OntoTheOneItFollowsChangesNothing) {
    auto list = ListOf(3);
    MoveAnimationAfter(list, At(list, 2), At(list, 1));
    MoveAnimationAfter(list, At(list, 1), At(list, 1));
    MoveAnimationAfter(list, list.end(), At(list, 1));
    MoveAnimationAfter(list, At(list, 1), list.end());
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2}));
}

TEST(HoldAnimation, TheHeadMovesBehindItsNeighbour) {
    auto list = ListOf(2);
    MoveAnimationAfter(list, At(list, 0), At(list, 1));
    EXPECT_EQ(Order(list), (std::vector<int>{1, 0}));
}

} // namespace
} // namespace fenwold
