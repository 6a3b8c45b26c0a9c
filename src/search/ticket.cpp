#include "search/ticket.hpp"

#include "combinatorics/number_mask.hpp"
#include "combinatorics/parse.hpp"

namespace zestawy {

TicketCheck checkTicket(const std::vector<std::string>& draws, const std::vector<int>& ticket,
                        const DrawRules& rules) {
    NumberMask chosen;
    for (int v : ticket) chosen.set(v);
    const int size = static_cast<int>(ticket.size());
    TicketCheck check;
    check.rows.resize(static_cast<std::size_t>(size) + 1);
    for (int h = 0; h <= size; ++h) {
        HitsRow& row = check.rows[static_cast<std::size_t>(size - h)];
        row.hits = h;
        row.draws = 0;
        row.last = -1;
        row.ago = 0;
    }
    // The newest draw of each number, for its wait; -1: none.
    std::vector<long long> newest(static_cast<std::size_t>(rules.maxNumber) + 1, -1);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        NumberMask drawn;
        forEachNumber(draws[i], [&](int v) {
            if (v < 1 || v > rules.maxNumber) return;
            drawn.set(v);
            newest[static_cast<std::size_t>(v)] = static_cast<long long>(i);
        });
        drawn.word[0] &= chosen.word[0];
        drawn.word[1] &= chosen.word[1];
        HitsRow& row = check.rows[static_cast<std::size_t>(size - drawn.count())];
        ++row.draws;
        row.last = static_cast<long long>(i);
    }
    for (HitsRow& row : check.rows) {
        row.chance = countRange(draws.size(),
                                hitsChance(rules.maxNumber, rules.numbersPerDraw, size, row.hits),
                                kTicketRangePercent / 100.0);
        if (row.last >= 0) row.ago = draws.size() - 1 - static_cast<std::size_t>(row.last);
    }
    check.numberWaits.assign(newest.size(), 0);
    for (std::size_t v = 1; v < newest.size(); ++v)
        check.numberWaits[v] =
            newest[v] < 0 ? draws.size() : draws.size() - 1 - static_cast<std::size_t>(newest[v]);
    return check;
}

}  // namespace zestawy
