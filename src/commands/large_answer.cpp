#include "commands/large_answer.hpp"

#include <cstdio>

#include "commands/polish.hpp"

namespace zestawy {

const char kLargeAnswerCaption[] = "Bardzo długa odpowiedź";

namespace {
// A no-break space in Windows-1250: a number stays whole and with its unit
// where the message box breaks its lines.
const char kNoBreak[] = "\xA0";
}  // namespace

std::string setCount(std::uint64_t sets) {
    std::string digits = std::to_string(sets);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, kNoBreak);
    return digits + kNoBreak + nounForm(sets, "zestaw", "zestawy", "zestawów");
}

std::string textSize(std::uint64_t bytes) {
    struct Unit {
        std::uint64_t size;
        const char* name;
    };
    const Unit units[] = {{1'000'000'000, "GB"}, {1'000'000, "MB"}, {1'000, "kB"}, {1, "B"}};
    for (const Unit& unit : units) {
        if (bytes < unit.size && unit.size > 1) continue;
        // Tenths below 10 units, whole units above; a decimal comma.
        const std::uint64_t tenths = (bytes * 10 + unit.size / 2) / unit.size;
        char text[32];
        if (tenths < 100 && tenths % 10 != 0)
            std::snprintf(text, sizeof text, "%llu,%llu\xA0%s",
                          static_cast<unsigned long long>(tenths / 10),
                          static_cast<unsigned long long>(tenths % 10), unit.name);
        else
            std::snprintf(text, sizeof text, "%llu\xA0%s",
                          static_cast<unsigned long long>((tenths + 5) / 10), unit.name);
        return text;
    }
    return "";
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
