#include "cli/cli.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "commands/encoding.hpp"
#include "commands/search_command.hpp"

namespace zestawy {

namespace {

// The tool's own texts are Windows-1250 like every text of the program; the
// terminal gets them in UTF-8.
void say(std::FILE* to, const std::string& cp1250) {
    const std::string text = utf8FromCp1250(cp1250);
    std::fwrite(text.data(), 1, text.size(), to);
}

const char kUsage[] =
    "Użycie: zestawy-cli --numbers PLIK [--encoding cp1250|utf-8] ID...\n"
    "\n"
    "Wykonuje polecenia wyszukiwania programu o podanych numerach przycisków, po kolei,\n"
    "na polu \"Wylosowane liczby\" o treści PLIKU (bajty bez zmian, wiersze liczb\n"
    "oddzielone przecinkami, jedno losowanie w wierszu) i wypisuje końcową treść pola\n"
    "\"Najdłużej oczekiwane zestawy\", tak jak program dopisuje do niego odpowiedzi.\n"
    "Generator liczb losowych przechodzi z polecenia na polecenie jak w programie.\n"
    "\n"
    "  --numbers PLIK   treść pola \"Wylosowane liczby\"\n"
    "  --encoding KOD   kodowanie wyniku: utf-8 (domyślnie) albo cp1250 (bajty programu)\n"
    "  --help           ten opis\n"
    "\n"
    "Numery przycisków:\n";

std::string usage() {
    std::string text = kUsage;
    const char* games[] = {"Multi Multi", "Mini Lotto", "Lotto"};
    for (int g = 0; g < 3; ++g) {
        text += "  " + std::string(games[g]) + ":";
        for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
            const SearchCommand& c = kSearchCommands[i];
            if (static_cast<int>(c.game) == g)
                text += " " + std::to_string(c.id) + " \"" + c.caption + "\";";
        }
        text.back() = '\n';
    }
    text += "\nKod wyjścia: 0 gdy się udało, 2 przy błędnych argumentach lub pliku.\n";
    return text;
}

int fail(std::FILE* err, const std::string& message) {
    say(err, "zestawy-cli: " + message + " (zob. --help)\n");
    return 2;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeAll(std::FILE* out, std::string_view text, bool utf8) {
    constexpr std::size_t kChunk = 1 << 20;
    std::string converted;
    for (std::size_t at = 0; at < text.size(); at += kChunk) {
        std::string_view piece = text.substr(at, kChunk);
        if (utf8) {
            converted.clear();
            appendUtf8FromCp1250(converted, piece);
            piece = converted;
        }
        if (std::fwrite(piece.data(), 1, piece.size(), out) != piece.size()) return false;
    }
    return std::fflush(out) == 0;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::string numbersPath;
    bool haveNumbers = false;
    bool utf8 = true;
    std::vector<const SearchCommand*> commands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            say(out, usage());
            return 0;
        }
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--numbers" || a == "--encoding") {
            if (i + 1 == args.size()) return fail(err, "brak wartości po " + a);
            const std::string& value = args[++i];
            if (a == "--numbers") {
                numbersPath = value;
                haveNumbers = true;
            } else if (value == "utf-8" || value == "cp1250") {
                utf8 = value == "utf-8";
            } else {
                return fail(err, "nieznane kodowanie '" + value + "'");
            }
        } else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos &&
                   a.size() < 6 && findSearchCommand(std::atoi(a.c_str()))) {
            commands.push_back(findSearchCommand(std::atoi(a.c_str())));
        } else if (!a.empty() && a[0] == '-') {
            return fail(err, "nieznana opcja '" + a + "'");
        } else {
            return fail(err, "'" + a + "' nie jest numerem przycisku wyszukiwania");
        }
    }
    if (!haveNumbers) return fail(err, "brak --numbers PLIK");
    if (commands.empty()) return fail(err, "brak numerów przycisków");

    std::string numbers;
    if (!readFile(numbersPath, numbers))
        return fail(err, "nie można odczytać pliku '" + numbersPath + "'");

    TextBuffer results;
    try {
        for (const SearchCommand* command : commands) {
            if (!results.empty()) results.append("\r\n");
            writeAnswer(*command, numbers, results);
        }
    } catch (const std::bad_alloc&) {
        say(err, "zestawy-cli: za mało pamięci na wynik\n");
        return 1;
    }
    if (!writeAll(out, results.view(), utf8)) {
        say(err, "zestawy-cli: nie udało się zapisać wyniku\n");
        return 1;
    }
    return 0;
}

}  // namespace zestawy
