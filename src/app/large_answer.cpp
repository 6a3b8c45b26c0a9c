#include "app/large_answer.hpp"

#include <cstdio>

#include "history/polish.hpp"

namespace zestawy {

const char kLargeAnswerCaption[] = "Bardzo długa odpowiedź";

namespace {
// A no-break space in Windows-1250: a number stays whole and with its unit
// where the message box breaks its lines.
const char kNoBreak[] = "\xA0";
}  // namespace

std::string setCount(std::uint64_t sets) {
    return grouped(sets) + kNoBreak + nounForm(sets, "zestaw", "zestawy", "zestawów");
}

std::string textSize(std::uint64_t bytes) {
    struct Unit {
        std::uint64_t size;
        const char* name;
    };
    const Unit units[] = {{1'000'000'000, "GB"}, {1'000'000, "MB"}, {1'000, "kB"}, {1, "B"}};
    // The largest unit the size reaches, or the one above when rounding to
    // whole units makes 1000 of it: 999,500 B is 1 MB, not 1000 kB.
    std::size_t u = 0;
    while (u < 3 && bytes < units[u].size) ++u;
    if (u > 0 && (bytes + units[u].size / 2) / units[u].size >= 1000) --u;
    const std::uint64_t size = units[u].size;
    // Tenths below 10 units, whole units above, each rounded once from the
    // bytes; a decimal comma.
    const std::uint64_t tenths = (bytes * 10 + size / 2) / size, whole = (bytes + size / 2) / size;
    char text[32];
    if (tenths < 100 && tenths % 10 != 0)
        std::snprintf(text, sizeof text, "%llu,%llu\xA0%s",
                      static_cast<unsigned long long>(tenths / 10),
                      static_cast<unsigned long long>(tenths % 10), units[u].name);
    else
        std::snprintf(text, sizeof text, "%llu\xA0%s", static_cast<unsigned long long>(whole),
                      units[u].name);
    return text;
}

namespace {

std::string found(const SearchCommand& command, const AnswerSize& size) {
    return std::string("„") + command.caption + "” znalazło " + setCount(size.sets) + ": " +
           textSize(size.bytes) + " tekstu.";
}

}  // namespace

std::string largeAnswerQuestion(const SearchCommand& command, const AnswerSize& size,
                                bool boxTakesIt) {
    if (boxTakesIt)
        return found(command, size) +
               "\n\nTak długą listę pole wyników przyjmuje długo, nawet kilka minut, "
               "a okno w tym czasie czeka.\n\n"
               "Tak – zapisz odpowiedź do pliku\n"
               "Nie – dopisz ją do pola wyników\n"
               "Anuluj – zrezygnuj";
    return found(command, size) + "\n\nPole wyników mieści najwyżej " + textSize(kResultsBoxLimit) +
           " tekstu, razem z tym, co już w nim jest, więc tę odpowiedź można tylko "
           "zapisać do pliku.\n\n"
           "Tak – zapisz odpowiedź do pliku\n"
           "Anuluj – zrezygnuj";
}

std::string savedAnswerNote(const SearchCommand& command, const AnswerSize& size,
                            std::string_view path) {
    return std::string("„") + command.caption + "”: " + setCount(size.sets) + " (" +
           textSize(size.bytes) + ") zapisano w pliku " + std::string(path);
}

}  // namespace zestawy
