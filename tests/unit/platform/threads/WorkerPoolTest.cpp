#include <gtest/gtest.h>

#include "fakes/FakeWorkers.h"
#include "platform/threads/WorkerPool.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;
constexpr std::uint64_t Never = std::numeric_limits<std::uint64_t>::max();

// Jobs named "job0", "job1"... each asking a device of its own name, which
// answers after the time given; `started` counts each job's starts.
std::vector<PoolJob> Jobs(FakeWorkers& workers, const std::vector<std::uint64_t>& delays,
                          std::map<std::string, int>& started) {
    std::vector<PoolJob> made;
    for (std::size_t index = 0; index < delays.size(); ++index) {
        const std::string name = "job" + std::to_string(index);
        if (delays[index] == Never) workers.neverAnswers(name);
        else workers.answersAfter(name, delays[index]);
        made.push_back({name, [&workers, &started, name] {
                            ++started[name];
                            workers.onRequest(name);
                        }});
    }
    return made;
}

struct Pool : ::testing::Test {
    std::vector<PoolJob> jobs(const std::vector<std::uint64_t>& delays) { return Jobs(workers, delays, started); }
    Journal journal;
    FakeEventPump events;
    FakeWorkers workers{journal, events};
    WorkerPool pool{workers, events};
    std::map<std::string, int> started;
};

TEST_F(Pool, EachJobHasTenSecondsFromItsOwnStartAndAtMostEightRunAtOnce) {
    const struct {
        std::vector<std::uint64_t> delays;
        std::vector<bool> ended;
        std::uint64_t returnsAt;
    } cases[] = {
        // At the deadline is in time; a millisecond later, or never, is not.
        {{0, 9999, 10000, 10001, Never}, {true, true, true, false, false}, 10000},
        // The ninth starts when the first ends, and has its own ten seconds.
        {std::vector<std::uint64_t>(9, 9000), std::vector<bool>(9, true), 18000},
        // Eight stuck ones are abandoned at their deadline and count no more.
        {{Never, Never, Never, Never, Never, Never, Never, Never, 500}, {false, false, false, false, false, false, false, false, true}, 10500},
        {{}, {}, 0},
    };
    for (const auto& [delays, ended, returnsAt] : cases) {
        Journal log;
        FakeEventPump queue;
        FakeWorkers fake{log, queue};
        WorkerPool fresh{fake, queue};
        EXPECT_EQ(fresh.run(Jobs(fake, delays, started)), ended) << delays.size();
        EXPECT_EQ(fake.milliseconds(), returnsAt) << delays.size();
        EXPECT_LE(fake.mostWaitedOn(), 8U);
        // The system is asked to cancel what each abandoned one waits on.
        EXPECT_EQ(log.count("cancel"), static_cast<std::size_t>(std::count(ended.begin(), ended.end(), false)));
    }
}

TEST_F(Pool, AJobStillStuckIsNotStartedAgainUntilItsWorkerHasEnded) {
    EXPECT_EQ(pool.run(jobs({Never, 0})), (std::vector<bool>{false, true}));
    // Still stuck at the next run: its job waits its ten seconds for that
    // worker, asking nothing, while the others are asked as always.
    const std::uint64_t secondRun = workers.milliseconds();
    EXPECT_EQ(pool.run(jobs({Never, 0})), (std::vector<bool>{false, true}));
    EXPECT_EQ(workers.milliseconds() - secondRun, 10000U);
    EXPECT_EQ(started, (std::map<std::string, int>{{"job0", 1}, {"job1", 2}}));
    // It answers three seconds into the next run: asked afresh then.
    workers.releaseAfter("job0", 3000);
    const std::uint64_t thirdRun = workers.milliseconds();
    EXPECT_EQ(pool.run(jobs({0, 0})), (std::vector<bool>{true, true}));
    EXPECT_EQ(workers.milliseconds() - thirdRun, 3000U);
    EXPECT_EQ(started["job0"], 2);
}

TEST_F(Pool, StoppedFromAHandlerItReturnsAtOnceAndStartsNothingMore) {
    std::vector<PoolJob> nine = jobs(std::vector<std::uint64_t>(9, 5000));
    events.post([this] { pool.stop(); });
    EXPECT_EQ(pool.run(std::move(nine)), std::vector<bool>(9, false));
    EXPECT_EQ(workers.milliseconds(), 0U);
    EXPECT_EQ(started.size(), 8U); // the ninth never started
    EXPECT_EQ(journal.count("cancel"), 8U);
    EXPECT_EQ(pool.run(jobs({0})), std::vector<bool>{false});
}

TEST_F(Pool, WithoutThreadsEachJobIsAskedOnTheCallersThread) {
    workers.noThreads = true;
    EXPECT_EQ(pool.run(jobs({0, 20000})), (std::vector<bool>{true, true}));
    EXPECT_EQ(started.size(), 2U);
}

} // namespace
} // namespace orvanta
