#include "Hint.h"

#include "DeadEnd.h"

HintAnswer FindHint(const Position &from, std::uint64_t budget, const std::atomic<bool> *stop)
{
    HintAnswer answer;
    if (!OnBoard(from.col, from.row)) {
        answer.verdict = Verdict::Unsolvable;
        return answer;
    }
    SearchOptions options;
    options.budget = budget;
    options.stop = stop;
    const SolveResult result = Solve(from, options);
    answer.verdict = result.verdict;
    answer.nodes = result.nodes;
    if (result.verdict == Verdict::Solvable)
        answer.key = result.keys.front();
    return answer;
}

Verdict QuickVerdict(const Position &from)
{
    if (!OnBoard(from.col, from.row))
        return Verdict::Unsolvable;
    if (LandingTotal(from.board) == 1)
        return Verdict::Solvable;
    if (DeadEndTest().CannotFinish(from))
        return Verdict::Unsolvable;
    return Verdict::GaveUp;
}
