#include "cli/options.hpp"

#include <cstdio>

namespace zestawy::cli {

namespace {

// "Wyszukaj 3 z 4" is named "3 z 4" on the command line, and may be in full.
constexpr std::string_view kCaptionPrefix = "Wyszukaj ";

const char* shortCaption(const SearchCommand& command) {
    return command.caption + kCaptionPrefix.size();
}

}  // namespace

const char kUsage[] =
    "Użycie:\n"
    "  zestawy-cli ŹRÓDŁO [--encoding cp1250|utf-8] ID...\n"
    "  zestawy-cli ŹRÓDŁO --game GRA --search \"3 z 4\" [--all | --count]\n"
    "  zestawy-cli --game GRA [--history PLIK] [--last N] --search \"3 z 4\" --ranking [--top K]\n"
    "  zestawy-cli --game GRA [--history PLIK] --check\n"
    "  zestawy-cli --game GRA [--history PLIK] --update POBRANY\n"
    "\n"
    "Wykonuje wyszukiwania programu „Najdłużej oczekiwane zestawy” bez okna: polecenia\n"
    "przycisków o podanych numerach, po kolei, tak jak program dopisuje ich odpowiedzi do pola\n"
    "„Najdłużej oczekiwane zestawy”, i wypisuje końcową treść tego pola. Generator liczb\n"
    "losowych przechodzi z polecenia na polecenie jak w programie.\n"
    "\n"
    "ŹRÓDŁO, czyli treść pola „Wylosowane liczby”:\n"
    "  --numbers PLIK    bajty PLIKU bez zmian: liczby losowania oddzielone przecinkami,\n"
    "                    jedno losowanie w wierszu\n"
    "  --history PLIK    plik wyników losowań (\"nr. data liczby\"), tak jak wczytuje go\n"
    "                    przycisk „Wczytaj”\n"
    "  --game GRA        multi, mini albo lotto; bez --numbers i --history: przykładowy plik\n"
    "                    wyników tej gry dołączony do programu\n"
    "  --last N          tylko N ostatnich losowań pliku wyników (domyślnie wszystkie)\n"
    "\n"
    "Polecenia:\n"
    "  ID...             numery przycisków wyszukiwania (lista poniżej)\n"
    "  --search NAPIS    przycisk gry --game wskazany napisem, np. \"3 z 4\" lub \"Wyszukaj 2\"\n"
    "  --all             wszystkie zestawy jednego wyszukiwania, jeden w wierszu, bez\n"
    "                    ograniczeń okna (bez ucięcia do 699 znaków, nie tylko pierwszy);\n"
    "                    przeszukuje wszystkie podane losowania\n"
    "  --count           tylko liczba tych zestawów oraz pierwszy i ostatni z nich\n"
    "  --ranking         zestawy, które czekają najdłużej: ile losowań minęło od losowania,\n"
    "                    w którym zestaw ostatnio wystąpił (padło k jego liczb naraz, jak w\n"
    "                    warunku wyszukiwania); wiersz: czas oczekiwania TAB numer i data\n"
    "                    tego losowania (\"-\" gdy nie wystąpił) TAB zestaw\n"
    "  --top K           ile zestawów pokazuje --ranking (domyślnie 10)\n"
    "  --check           sprawdza każdy wiersz pliku wyników gry --game i wypisuje błędne\n"
    "  --update POBRANY  dopisuje do pliku wyników gry --game nowe losowania z pobranego\n"
    "                    pliku wyników (układ „nr. data liczby” albo „nr,data,liczby”):\n"
    "                    te o numerach wyższych niż ostatnie w pliku; wspólne losowania\n"
    "                    obu plików muszą się zgadzać, inaczej nic nie jest zapisywane\n"
    "  --threads N       ile wątków przeszukuje (1-64; domyślnie rdzenie komputera, do 16)\n"
    "  --encoding KOD    kodowanie wyniku: utf-8 (domyślnie) albo cp1250 (bajty programu)\n"
    "  --help            ten opis\n"
    "  --version         wersja programu\n"
    "\n"
    "Ctrl-C przerywa od razu, także gdy nikt nie czyta wyniku; wypisane wiersze są całe.\n"
    "Przykładowe pliki wyników leżą obok programu albo w ../share/zestawy.\n"
    "Kod wyjścia: 0 gdy się udało; 1 gdy --check znalazł błędne wiersze, --update niczego nie\n"
    "dopisał z powodu błędów albo nie udało się zapisać wyniku lub pliku wyników; 2 przy\n"
    "błędnych argumentach lub pliku (także takim, w którym nie ma żadnego losowania, albo\n"
    "większym niż 256 MB); 130 po Ctrl-C.\n"
    "\n"
    "Przykład: wszystkie piątki, które nie wypadły w 1000 ostatnich losowaniach Multi Multi:\n"
    "  zestawy-cli --game multi --last 1000 --search \"5 z 5\" --all > piatki.txt\n"
    "\n"
    "Numery przycisków:\n";

std::string usage() {
    std::string text = kUsage;
    for (const GameRow& game : kGames) {
        text += "  " + std::string(game.name) + ":\n   ";
        for (int id : searchButtonsOf(game.game))
            text += " " + std::to_string(id) + " \"" + shortCaption(*findSearchCommand(id)) + "\";";
        text.back() = '\n';
    }
    return text;
}

namespace {

bool isNumber(const std::string& s) {
    return !s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 == args.size()) throw UsageError{"brak wartości po " + a};
            return args[++i];
        };
        auto path = [&]() -> const std::string& {
            const std::string& p = value();
            if (p.empty()) throw UsageError{"pusta nazwa pliku po " + a};
            return p;
        };
        if (a == "--numbers") {
            o.numbersPath = path();
        } else if (a == "--history") {
            o.historyPath = path();
        } else if (a == "--update") {
            o.updatePath = path();
        } else if (a == "--game") {
            const std::string& name = value();
            for (const GameRow& g : kGames)
                if (name == g.option) o.game = &g;
            if (!o.game) throw UsageError{"nieznana gra '" + name + "' (multi, mini, lotto)"};
        } else if (a == "--last") {
            const std::string& n = value();
            const bool digits =
                !n.empty() && n.find_first_not_of("0123456789") == std::string::npos;
            if (!digits || n.find_first_not_of('0') == std::string::npos)
                throw UsageError{"--last wymaga dodatniej liczby, nie '" + n + "'"};
            if (!isNumber(n)) throw UsageError{"--last " + n + " to za dużo (najwyżej 999999999)"};
            o.last = std::stoll(n);
        } else if (a == "--search") {
            o.captions.push_back(value());
        } else if (a == "--encoding") {
            const std::string& code = value();
            if (code != "utf-8" && code != "cp1250")
                throw UsageError{"nieznane kodowanie '" + code + "'"};
            o.utf8 = code == "utf-8";
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--count") {
            o.count = true;
        } else if (a == "--check") {
            o.check = true;
        } else if (a == "--ranking") {
            o.ranking = true;
        } else if (a == "--top") {
            const std::string& k = value();
            if (!isNumber(k) || std::stoll(k) < 1 || std::stoll(k) > kMaxTop)
                throw UsageError{"--top wymaga liczby od 1 do " + std::to_string(kMaxTop) +
                                 ", nie '" + k + "'"};
            o.top = static_cast<std::size_t>(std::stoll(k));
        } else if (a == "--threads") {
            const std::string& t = value();
            if (!isNumber(t) || std::stoll(t) < 1 || std::stoll(t) > 64)
                throw UsageError{"--threads wymaga liczby od 1 do 64, nie '" + t + "'"};
            o.threads = std::stoi(t);
        } else if (isNumber(a) && findSearchCommand(std::stoi(a))) {
            o.commands.push_back(findSearchCommand(std::stoi(a)));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"nieznana opcja '" + a + "'"};
        } else {
            throw UsageError{"'" + a + "' nie jest numerem przycisku wyszukiwania"};
        }
    }

    for (const std::string& caption : o.captions) {
        if (!o.game) throw UsageError{"--search wymaga --game"};
        const SearchCommand* found = nullptr;
        for (std::size_t i = 0; i < kSearchCommandCount; ++i) {
            const SearchCommand& c = kSearchCommands[i];
            if (c.game == o.game->game && (caption == c.caption || caption == shortCaption(c)))
                found = &c;
        }
        if (!found)
            throw UsageError{"gra " + std::string(o.game->option) + " nie ma przycisku \"" +
                             caption + "\""};
        o.commands.push_back(found);
    }

    if (o.game)
        for (const SearchCommand* command : o.commands)
            if (command->game != o.game->game)
                throw UsageError{"przycisk " + std::to_string(command->id) + " nie należy do gry " +
                                 o.game->option};
    if (!o.numbersPath.empty() && !o.historyPath.empty())
        throw UsageError{"podaj --numbers albo --history, nie oba"};
    if (!o.numbersPath.empty() && o.last)
        throw UsageError{"--last dotyczy pliku wyników (--history albo --game), nie --numbers"};
    if (o.all + o.count + o.check + o.ranking > 1)
        throw UsageError{"podaj tylko jedno z --all, --count, --check, --ranking"};
    if (o.top && !o.ranking) throw UsageError{"--top dotyczy tylko --ranking"};
    if (o.ranking && !o.numbersPath.empty())
        throw UsageError{"--ranking czyta plik wyników (--history albo --game), nie --numbers"};
    if (!o.updatePath.empty()) {
        if (!o.game) throw UsageError{"--update wymaga --game"};
        if (!o.numbersPath.empty() || !o.commands.empty() || o.last || o.all || o.count ||
            o.check || o.ranking || o.top)
            throw UsageError{
                "--update uzupełnia plik wyników: bez --numbers, --last, wyszukiwań "
                "i innych trybów"};
        return o;
    }
    if (o.check) {
        if (!o.game) throw UsageError{"--check wymaga --game"};
        if (!o.numbersPath.empty() || !o.commands.empty() || o.last)
            throw UsageError{
                "--check sprawdza cały plik wyników: bez --numbers, --last i wyszukiwań"};
        return o;
    }
    if (o.numbersPath.empty() && o.historyPath.empty() && !o.game)
        throw UsageError{"brak źródła: --numbers, --history albo --game"};
    if (o.commands.empty()) throw UsageError{"brak numerów przycisków albo --search"};
    if (o.all || o.count || o.ranking) {
        if (o.commands.size() != 1)
            throw UsageError{"--all, --count i --ranking dotyczą jednego wyszukiwania"};
        if (o.commands[0]->sets.setSize == 0)
            throw UsageError{"przycisk " + std::to_string(o.commands[0]->id) +
                             " losuje zestawy: --all, --count i --ranking go nie dotyczą"};
    }
    return o;
}

std::string samplePath(const GameRow& game, const std::string& programDir) {
#ifdef _WIN32
    const char* fileName = game.historyFile;
#else
    const char* fileName = game.historyFileUtf8;
#endif
    const std::string folders[] = {programDir, programDir + "/../share/zestawy"};
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + fileName;
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            return path;
        }
    }
    return folders[0] + "/" + fileName;
}

}  // namespace zestawy::cli
