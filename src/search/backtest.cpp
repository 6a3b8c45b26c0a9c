#include "search/backtest.hpp"

namespace zestawy {

const WaitGroup kWaitGroups[kWaitGroupCount] = {
    {"<1", 0, 1}, {"1-2", 1, 2}, {"2-3", 2, 3}, {"3-5", 3, 5}, {">5", 5, 1e300},
};

Backtest backtest(const std::vector<std::string>&, const NeverDrawnQuery&, int,
                  const BacktestProgress&, int) {
    return {};
}

}  // namespace zestawy
