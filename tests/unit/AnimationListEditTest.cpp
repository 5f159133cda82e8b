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

// Each move acts on positions in a list of `size`, in turn; -1 stands for the end (no animation).
struct ListMoves {
    const char* name;
    int size;
    std::vector<std::pair<int, int>> moves;
    std::vector<int> order;
};

void ExpectOrderAfter(void (*move)(RegisteredAnimations&, RegisteredAnimations::iterator,
                                   RegisteredAnimations::iterator),
                      const ListMoves& c) {
    SCOPED_TRACE(c.name);
    auto list = ListOf(c.size);
    const auto at = [&list](int position) {
        return position < 0 ? list.end() : std::next(list.begin(), position);
    };
    for (const auto& [from, to] : c.moves) {
        move(list, at(from), at(to));
    }
    EXPECT_EQ(Order(list), c.order);
}

TEST(ChangeAnimations, ExchangeTwoAnimationsInPlace) {
    const ListMoves cases[] = {
        {"first and last", 4, {{0, 3}}, {3, 1, 2, 0}},
        {"neighbours", 4, {{1, 2}}, {0, 2, 1, 3}},
        {"neighbours back", 4, {{1, 2}, {2, 1}}, {0, 1, 2, 3}},
        {"the last two backwards", 4, {{1, 2}, {2, 1}, {3, 2}}, {0, 1, 3, 2}},
        {"none or the same", 3, {{1, -1}, {-1, 1}, {1, 1}}, {0, 1, 2}},
    };
    for (const ListMoves& c : cases) {
        ExpectOrderAfter(ExchangeAnimations, c);
    }
    auto list = ListOf(4);
    const RegisteredAnimation* first = &list.front();
    ExchangeAnimations(list, list.begin(), std::prev(list.end()));
    EXPECT_EQ(&list.back(), first); // the node moved, it was not copied
}

TEST(HoldAnimation, MovesRightAfterTheTarget) {
    const ListMoves cases[] = {
        {"forwards", 5, {{0, 3}}, {1, 2, 3, 0, 4}},
        {"the last to the front part", 5, {{0, 3}, {4, 0}}, {1, 4, 2, 3, 0}},
        {"onto the last: the new last", 5, {{0, 3}, {4, 0}, {1, 4}}, {1, 2, 3, 0, 4}},
        {"onto the one it follows, itself or none",
         3,
         {{2, 1}, {1, 1}, {-1, 1}, {1, -1}},
         {0, 1, 2}},
        {"the head behind its neighbour", 2, {{0, 1}}, {1, 0}},
    };
    for (const ListMoves& c : cases) {
        ExpectOrderAfter(MoveAnimationAfter, c);
    }
}

} // namespace
} // namespace fenwold
