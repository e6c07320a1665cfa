#include "platform/web/web_input.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A page flooded with moves (a busy machine, a long frame) must still hand
// over every press, release and quit, in order, at the cost of old moves.
TEST(WebInputQueue, AFullQueueDropsMovesNeverButtons) {
    WebInputQueue queue;
    for (int32_t i = 0; i < 64; ++i) queue.Push({WebEventKind::PointerMove, i, 0});
    queue.Push({WebEventKind::PointerMove, 99, 0});
    queue.Push({WebEventKind::ButtonDown, 5, 6});
    queue.Push({WebEventKind::ButtonUp, 5, 6});
    queue.Push({WebEventKind::Quit, 0, 0});

    WebEvent event;
    int32_t moves = 0;
    int32_t firstMoveX = -1;
    std::vector<WebEventKind> others;
    while (queue.Pop(event)) {
        if (event.kind == WebEventKind::PointerMove) {
            if (firstMoveX < 0) firstMoveX = event.x;
            EXPECT_NE(event.x, 99) << "a move into a full queue is dropped";
            ++moves;
        } else {
            others.push_back(event.kind);
        }
    }
    EXPECT_EQ(moves, 61);
    EXPECT_EQ(firstMoveX, 3) << "the oldest moves made room";
    EXPECT_EQ(others,
              (std::vector<WebEventKind>{WebEventKind::ButtonDown, WebEventKind::ButtonUp, WebEventKind::Quit}));
}

}  // namespace
