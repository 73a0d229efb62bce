#include "util/OperationGate.h"

#include <gtest/gtest.h>

using util::OperationGate;
using Request = OperationGate::Request;

TEST(OperationGate, RequestsDuringAnOperationAreRefusedOrRunOnceAfterwards)
{
    OperationGate gate;
    std::vector<Request> ran;
    gate.SetRefreshRunner([&](Request r) {
        util::OperationScope scope(gate, r);
        ASSERT_TRUE(scope);
        ran.push_back(r);
    });

    ASSERT_TRUE(gate.TryBegin(Request::Command)); // e.g. a bulk update
    // Arriving through the message pump while it runs:
    EXPECT_FALSE(gate.TryBegin(Request::Command));
    EXPECT_FALSE(gate.TryBegin(Request::RefreshProfile));
    EXPECT_FALSE(gate.TryBegin(Request::RefreshCurrentSet));
    EXPECT_FALSE(gate.TryBegin(Request::RefreshProfile));
    EXPECT_FALSE(gate.TryBegin(Request::RefreshCurrentSet));
    EXPECT_TRUE(ran.empty());
    gate.End();

    EXPECT_EQ(ran, (std::vector<Request>{Request::RefreshProfile, Request::RefreshCurrentSet}));
    EXPECT_EQ(gate.Refused(), 1);
    EXPECT_FALSE(gate.Busy());
    EXPECT_TRUE(gate.TryBegin(Request::Command));
    gate.End();
}

TEST(OperationGate, ARefreshAskedForDuringAPutOffRefreshRunsAgainAfterIt)
{
    OperationGate gate;
    int runs = 0;
    gate.SetRefreshRunner([&](Request r) {
        util::OperationScope scope(gate, r);
        if (++runs == 1) {
            EXPECT_FALSE(
                gate.TryBegin(Request::RefreshCurrentSet)); // a timer tick inside the put-off refresh
        }
    });
    ASSERT_TRUE(gate.TryBegin(Request::Command));
    EXPECT_FALSE(gate.TryBegin(Request::RefreshCurrentSet));
    gate.End();
    EXPECT_EQ(runs, 2);
}
