#include "cli/options.hpp"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string_view>
#include <utility>

#include "cli/cli.hpp"
#include "commands/analysis_text.hpp"
#include "history/file_name.hpp"
#include "history/history.hpp"
#include "history/polish.hpp"
#include "net/fetch.hpp"
#include "net/sources.hpp"
#include "search/backtest.hpp"
#include "search/shared_walk.hpp"
#include "search/ticket.hpp"

namespace zestawy::cli {

namespace {

// "Wyszukaj 3 z 4" is named "3 z 4" on the command line, and may be in full.
constexpr std::string_view kCaptionPrefix = "Wyszukaj ";

const char* shortCaption(const SearchCommand& command) {
    return command.caption + kCaptionPrefix.size();
}

// "<1, 1-2, 2-3, 3-5, >5"
std::string waitGroupLabels() {
    std::string labels;
    for (const WaitGroup& group : kWaitGroups)
        labels += (labels.empty() ? "" : ", ") + std::string(group.label);
    return labels;
}

bool isNumber(const std::string& s, std::size_t digits = 9) {
    return !s.empty() && s.size() <= digits &&
           s.find_first_not_of("0123456789") == std::string::npos;
}

// A whole number of 1..most, or a UsageError that names the option.
long long numberOf(const char* option, const std::string& value, long long most) {
    if (!isNumber(value, std::string::npos) || value.find_first_not_of('0') == std::string::npos)
        throw UsageError{std::string(option) + " wymaga dodatniej liczby, nie '" + value + "'"};
    if (!isNumber(value) || std::stoll(value) > most)
        throw UsageError{std::string(option) + " " + value + " to za dużo (najwyżej " +
                         std::to_string(most) + ")"};
    return std::stoll(value);
}

std::string pathOf(const char* option, const std::string& value) {
    if (value.empty()) throw UsageError{std::string("pusta nazwa pliku po ") + option};
    return value;
}

struct OptionRow {
    const char* heading;  // a section of --help that begins here, or nullptr
    const char* name;     // "--history"; "ID..." for the button ids, which are no option
    const char* value;    // the value's name in --help, nullptr for a switch
    std::string help;     // its lines in --help
    void (*set)(Options&, const std::string& value);
    const char* excludes;  // the options it does not go with, blank-separated
    bool adds = false;     // may be given more than once, each adding
};

// clang-format off
const OptionRow kOptions[] = {
    {"ŹRÓDŁO, czyli treść pola „Wylosowane liczby”:",
     "--numbers", "PLIK", "bajty PLIKU bez zmian: liczby losowania oddzielone przecinkami,\n"
                          "jedno losowanie w wierszu",
     [](Options& o, const std::string& v) { o.numbersPath = pathOf("--numbers", v); },
     "--history --last --ranking --check --update"},
    {nullptr, "--history", "PLIK", "plik wyników losowań (\"nr. data liczby\"), tak jak wczytuje go\n"
                                   "przycisk „Wczytaj”",
     [](Options& o, const std::string& v) { o.historyPath = pathOf("--history", v); }, ""},
    {nullptr, "--game", "GRA", "multi, mini albo lotto; bez --numbers i --history: przykładowy plik\n"
                               "wyników tej gry dołączony do programu",
     [](Options& o, const std::string& v) {
         for (const GameRow& g : kGames)
             if (v == g.option) o.game = &g;
         if (!o.game) throw UsageError{"nieznana gra '" + v + "' (multi, mini, lotto)"};
     }, ""},
    {nullptr, "--last", "N", "tylko N ostatnich wierszy pliku wyników, liczonych tak jak liczy je\n"
                             "„Wczytaj” (domyślnie wszystkie)",
     [](Options& o, const std::string& v) { o.last = numberOf("--last", v, kMaxLast); }, ""},
    {"Polecenia:",
     "ID...", nullptr, "numery przycisków wyszukiwania (lista poniżej)", nullptr, ""},
    {nullptr, "--search", "NAPIS", "przycisk gry --game wskazany napisem, np. \"3 z 4\" lub \"Wyszukaj 2\"",
     [](Options& o, const std::string& v) { o.captions.push_back(v); }, "", true},
    {nullptr, "--all", nullptr, "wszystkie zestawy jednego wyszukiwania, jeden w wierszu, bez\n"
                                "ograniczeń okna (bez ucięcia do " + std::to_string(kFreeLengthLimit) +
                                " znaków, nie tylko pierwszy);\n"
                                "przeszukuje wszystkie podane losowania",
     [](Options& o, const std::string&) { o.all = true; }, "--count --check --ranking --update"},
    {nullptr, "--threads", "N", "ile wątków pracuje (1-" + std::to_string(kMaxWalkThreads) +
                              "; domyślnie tyle, ile rdzeni, najwyżej " +
                              std::to_string(kMostMachineThreads) + ");\n"
                              "przy --all jeden z nich zapisuje wynik, a szuka, gdy nie ma czego zapisać",
     [](Options& o, const std::string& v) {
         o.threads = static_cast<int>(numberOf("--threads", v, kMaxWalkThreads));
     }, ""},
    {nullptr, "--count", nullptr, "tylko liczba tych zestawów oraz pierwszy i ostatni z nich",
     [](Options& o, const std::string&) { o.count = true; }, "--check --ranking --update"},
    {nullptr, "--ranking", nullptr, "zestawy, które czekają najdłużej: ile losowań minęło od losowania,\n"
                                    "w którym zestaw ostatnio wystąpił (padło k jego liczb naraz, jak w\n"
                                    "warunku wyszukiwania); wiersz: czas oczekiwania TAB numer i data\n"
                                    "tego losowania (\"-\" gdy nie wystąpił) TAB zestaw",
     [](Options& o, const std::string&) { o.ranking = true; }, "--check --update"},
    {nullptr, "--top", "K", "ile zestawów pokazuje --ranking (domyślnie " +
                            std::to_string(kDefaultTop) + ", najwyżej " + std::to_string(kMaxTop) +
                            ")",
     [](Options& o, const std::string& v) {
         o.top = static_cast<std::size_t>(numberOf("--top", v, kMaxTop));
     }, ""},
    {nullptr, "--ticket", "LICZBY", "własne liczby gry --game, np. \"3, 17, 22\": wiersz na każdą liczbę\n"
                                    "trafień, od wszystkich do zera: trafienia TAB losowania z tyloma\n"
                                    "trafieniami TAB ile daje przypadek TAB zwykle od TAB do (" +
                                    std::to_string(kTicketRangePercent) + "%) TAB\n"
                                    "ostatnie takie losowanie TAB ile losowań temu (\"-\" gdy nie było)",
     [](Options& o, const std::string& v) { o.ticketText = v; },
     "--numbers --search --all --count --ranking --check --update --top"},
    {nullptr, "--backtest", nullptr, "czy czekanie pomaga: przed każdym losowaniem zestawy wyszukiwania\n"
                                     "w grupach według oczekiwania względem średniej przerwy\n(" +
                                     waitGroupLabels() + " razy); wiersz: grupa TAB szanse TAB\n"
                                     "pojawienia TAB ile daje przypadek TAB odsetek % TAB " +
                                     std::to_string(kBacktestRangePercent) + "% od TAB do;\n"
                                     "na końcu wiersz top" + std::to_string(kTopSets) + " (" +
                                     std::to_string(kTopSets) + " najdłużej czekających) tak samo,\n"
                                     "z zakresem przypadku; od " + grouped(2 * kMostFollowedSets) +
                                     " zestawów: losowa próba " + grouped(kMostFollowedSets),
     [](Options& o, const std::string&) { o.backtest = true; },
     "--numbers --all --count --ranking --check --update --top"},
    {nullptr, "--format", "FORMAT", "układ wierszy --ranking, --ticket, --backtest i --wheel: tsv\n"
                                    "(domyślnie) albo csv dla arkusza\n"
                                    "(UTF-8 ze znacznikiem BOM, nagłówek, pola oddzielone średnikiem,\n"
                                    "końce wierszy CR LF)",
     [](Options& o, const std::string& v) {
         if (v != "tsv" && v != "csv") throw UsageError{"nieznany format '" + v + "' (tsv, csv)"};
         o.csv = v == "csv";
     }, ""},
    {nullptr, "--check", nullptr, "sprawdza każdy wiersz pliku wyników gry --game i wypisuje błędne",
     [](Options& o, const std::string&) { o.check = true; }, "--update --last --search"},
    {nullptr, "--update", "POBRANY", "uzupełnia plik wyników gry --game losowaniami z pobranego pliku\n"
                                     "wyników albo pliku spod adresu http(s)://\n"
                                     "(układ „nr. data liczby” albo „nr,data,liczby”): każde,\n"
                                     "którego w nim brak, trafia tam, gdzie wskazuje jego numer;\n"
                                     "wspólne losowania obu plików muszą się zgadzać, a daty i numery\n"
                                     "pasować do siebie, inaczej nic nie jest zapisywane",
     [](Options& o, const std::string& v) { o.updatePath = pathOf("--update", v); },
     "--last --search --top"},
    {nullptr, "--download", nullptr, "pobiera najnowsze wyniki trzech gier i uzupełnia nimi ich pliki\n"
                                     "wyników obok programu, jak --update; adresy i czas oczekiwania\n"
                                     "(domyślnie " + std::to_string(kDefaultIdleSeconds) + " s bez danych) można zmienić w pliku " +
                                     kSourcesFile + "\n"
                                     "w bieżącym folderze albo obok programu, wierszami\n"
                                     "„multi = adres” i „czas = sekundy”",
     [](Options& o, const std::string&) { o.download = true; },
     "--numbers --history --game --last --search --all --count --ranking --check --update --top "
     "--ticket --backtest"},
    {"Systemy skrócone:",
     "--wheel", "LICZBY", "typowane liczby gry --game, np. \"1, 5, 9, 12, 20, 33, 41\" (najwyżej " +
                          std::to_string(kMostWheelNumbers) + ",\nw Multi Multi " +
                          std::to_string(kMostMultiWheelNumbers) + "): system zakładów z gwarancją\n"
                          "--guarantee, zakład w wierszu; na stderr podsumowanie i skąd jest system\n"
                          "(z tabeli programu od razu, inaczej z poszukiwania)",
     [](Options& o, const std::string& v) { o.wheelText = v; },
     "--numbers --history --last --search --all --count --ranking --check --update --top "
     "--ticket --backtest"},
    {nullptr, "--guarantee", "\"T z M\"", "gwarancja: gdy padnie M typowanych liczb, któryś zakład ma\n"
                                      "co najmniej T z nich, np. \"3 z 4\"",
     [](Options& o, const std::string& v) { o.guaranteeText = v; }, ""},
    {nullptr, "--size", "K", "liczby zakładu (1-" + std::to_string(kMostWheelSize) +
                           "); wymagane w Multi Multi, w Lotto zawsze " +
                           std::to_string(kLottoRules.numbersPerDraw) + ", w Mini Lotto " +
                           std::to_string(kMiniRules.numbersPerDraw),
     [](Options& o, const std::string& v) {
         o.size = static_cast<int>(numberOf("--size", v, kMostWheelSize));
     }, ""},
    {nullptr, "--budget", "SEKUNDY", "czas poszukiwania (domyślnie " +
                                     std::to_string(static_cast<int>(kDefaultWheelBudget)) +
                                     " s, najwyżej " + std::to_string(kMaxWheelBudget) +
                                     "); podany także przy\nsystemie z tabeli: szuka mniejszego",
     [](Options& o, const std::string& v) {
         o.budget = static_cast<double>(numberOf("--budget", v, kMaxWheelBudget));
     }, ""},
    {nullptr, "--check-wheel", "PLIK", "sprawdza, czy zakłady z PLIKU (zakład w wierszu) dają gwarancję\n"
                                       "--guarantee dla liczb --wheel: kod 0 i „gwarantuje” albo kod 1\n"
                                       "i losowanie, którego żaden zakład nie trafia",
     [](Options& o, const std::string& v) { o.checkWheelPath = pathOf("--check-wheel", v); },
     "--budget --size --format"},
    {nullptr, "--encoding", "KOD", "kodowanie wyniku: utf-8 (domyślnie) albo cp1250 (bajty programu)",
     [](Options& o, const std::string& v) {
         if (v != "utf-8" && v != "cp1250") throw UsageError{"nieznane kodowanie '" + v + "'"};
         o.utf8 = v == "utf-8";
     }, ""},
    {nullptr, "--help", nullptr, "ten opis", nullptr, ""},
    {nullptr, "--version", nullptr, "wersja programu", nullptr, ""},
};
// clang-format on

const char kIntro[] =
    "Użycie:\n"
    "  zestawy-cli ŹRÓDŁO [--encoding cp1250|utf-8] ID...\n"
    "  zestawy-cli ŹRÓDŁO --game GRA --search \"3 z 4\" [--all [--threads N] | --count]\n"
    "  zestawy-cli --game GRA [--history PLIK] [--last N] --search \"3 z 4\" --ranking [--top K]\n"
    "  zestawy-cli --game GRA [--history PLIK] [--last N] --ticket \"3, 17, 22\"\n"
    "  zestawy-cli --game GRA [--history PLIK] [--last N] --search \"2\" --backtest\n"
    "  zestawy-cli --game GRA [--history PLIK] --check\n"
    "  zestawy-cli --game GRA [--history PLIK] --update POBRANY|ADRES\n"
    "  zestawy-cli --download\n"
    "  zestawy-cli --game GRA --wheel LICZBY --guarantee \"T z M\" [--size K] [--budget S]\n"
    "  zestawy-cli --game GRA --wheel LICZBY --guarantee \"T z M\" --check-wheel PLIK\n"
    "\n"
    "Wykonuje wyszukiwania programu „Najdłużej oczekiwane zestawy” bez okna: polecenia\n"
    "przycisków o podanych numerach, po kolei, tak jak program dopisuje ich odpowiedzi do pola\n"
    "„Najdłużej oczekiwane zestawy”, i wypisuje końcową treść tego pola. Generator liczb\n"
    "losowych przechodzi z polecenia na polecenie jak w programie.\n";

const char kEpilogue[] =
    "\n"
    "Każdą opcję podaje się najwyżej raz (poza --search). Ctrl-C przerywa od razu, także gdy\n"
    "nikt nie czyta wyniku; wypisane wiersze są całe. Przykładowe pliki wyników leżą obok\n"
    "programu albo w ../share/zestawy.\n"
    "Kod wyjścia: 0 gdy się udało; {failed} gdy --check znalazł błędne wiersze, --update niczego "
    "nie\n"
    "dopisał z powodu błędów, --check-wheel znalazł losowanie bez gwarancji\n"
    "albo nie udało się zapisać wyniku lub pliku wyników; {usage} przy\n"
    "błędnych argumentach lub pliku (także takim, w którym nie ma żadnego losowania, albo\n"
    "większym niż {limit}); {stopped} po Ctrl-C.\n"
    "\n"
    "Przykład: wszystkie piątki, które nie wypadły w 1000 ostatnich losowaniach Multi Multi:\n"
    "  zestawy-cli --game multi --last 1000 --search \"5 z 5\" --all > piatki.txt\n"
    "\n"
    "Numery przycisków:\n";

const OptionRow* rowNamed(const std::string& name) {
    for (const OptionRow& row : kOptions)
        if (row.set && name == row.name) return &row;
    return nullptr;
}

bool given(const Options& o, const std::string& name) {
    return std::find(o.given.begin(), o.given.end(), name) != o.given.end();
}

// The arguments read one by one, each option's value set, each button number's command
// taken; then the options that do not go together refused.
Options readArguments(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (isNumber(a) && findSearchCommand(std::stoi(a))) {
            o.commands.push_back(findSearchCommand(std::stoi(a)));
            continue;
        }
        const OptionRow* row = rowNamed(a);
        if (!row && !a.empty() && a[0] == '-') throw UsageError{"nieznana opcja '" + a + "'"};
        if (!row) throw UsageError{"'" + a + "' nie jest numerem przycisku wyszukiwania"};
        if (given(o, a) && !row->adds) throw UsageError{"opcja " + a + " podana dwa razy"};
        if (row->value && i + 1 == args.size()) throw UsageError{"brak wartości po " + a};
        row->set(o, row->value ? args[++i] : std::string());
        o.given.push_back(a);
    }
    // One rule for the options that do not go together.
    for (const std::string& name : o.given) {
        std::istringstream excluded(rowNamed(name)->excludes);
        for (std::string other; excluded >> other;)
            if (given(o, other)) throw UsageError{"podaj " + name + " albo " + other + ", nie oba"};
    }
    return o;
}

// The --search captions as commands of the --game, and every command one of that game.
void takeCaptions(Options& o) {
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
}

// The searches: a source, and for the modes of one search, one it serves.
void checkSearches(const Options& o) {
    if (o.numbersPath.empty() && o.historyPath.empty() && !o.game)
        throw UsageError{"brak źródła: --numbers, --history albo --game"};
    if (o.commands.empty()) throw UsageError{"brak numerów przycisków albo --search"};
    if (!o.all && !o.count && !o.ranking && !o.backtest) return;
    if (o.commands.size() != 1)
        throw UsageError{"--all, --count, --ranking i --backtest dotyczą jednego wyszukiwania"};
    const bool ranks = (o.ranking || o.backtest) && rankingQuery(*o.commands[0]).setSize;
    if (o.commands[0]->sets.setSize == 0 && !ranks)
        throw UsageError{"przycisk " + std::to_string(o.commands[0]->id) +
                         (o.ranking || o.backtest
                              ? " losuje zestawy ponad " + std::to_string(kMaxSetSize) +
                                    " liczb, których --ranking i --backtest nie obejmują"
                              : std::string(" losuje zestawy: --all i --count go nie dotyczą"))};
}

}  // namespace

std::string usage() {
    std::string text = kIntro;
    for (const OptionRow& row : kOptions) {
        if (row.heading) text += std::string("\n") + row.heading + "\n";
        std::string left =
            std::string("  ") + row.name + (row.value ? " " : "") + (row.value ? row.value : "");
        left.resize(std::max<std::size_t>(left.size() + 1, 20), ' ');
        std::istringstream help(row.help);
        for (std::string line; std::getline(help, line); left.assign(20, ' '))
            text += left + line + "\n";
    }
    // The epilogue names the history limit and the exit codes where they stand.
    std::string epilogue = kEpilogue;
    const std::pair<const char*, std::string> figures[] = {
        {"{failed}", std::to_string(kExitFailed)},
        {"{usage}", std::to_string(kExitUsage)},
        {"{limit}", historyLimitText()},
        {"{stopped}", std::to_string(kExitStopped)},
    };
    for (const auto& [mark, figure] : figures)
        epilogue.replace(epilogue.find(mark), std::string_view(mark).size(), figure);
    text += epilogue;
    for (const GameRow& game : kGames) {
        text += "  " + std::string(game.name) + ":\n   ";
        for (int id : searchButtonsOf(game.game))
            text += " " + std::to_string(id) + " \"" + shortCaption(*findSearchCommand(id)) + "\";";
        text.back() = '\n';
    }
    return text;
}

Options parse(const std::vector<std::string>& args) {
    Options o = readArguments(args);
    takeCaptions(o);
    if (given(o, "--top") && !o.ranking) throw UsageError{"--top dotyczy tylko --ranking"};
    if (given(o, "--format") && !o.ranking && !given(o, "--ticket") && !o.backtest &&
        !given(o, "--wheel"))
        throw UsageError{"--format dotyczy tylko --ranking, --ticket, --backtest i --wheel"};
    if (o.download) return o;
    if (given(o, "--guarantee") || given(o, "--size") || given(o, "--budget") ||
        given(o, "--check-wheel")) {
        if (!given(o, "--wheel"))
            throw UsageError{
                "--guarantee, --size, --budget i --check-wheel "
                "dotyczą tylko --wheel"};
    }
    if (given(o, "--wheel")) {
        if (!o.game) throw UsageError{"--wheel wymaga --game"};
        if (!given(o, "--guarantee")) throw UsageError{"--wheel wymaga --guarantee, np. \"3 z 4\""};
        if (!o.commands.empty()) throw UsageError{"--wheel nie łączy się z wyszukiwaniami"};
        return o;
    }
    if (o.check || !o.updatePath.empty()) {
        const char* mode = o.check ? "--check" : "--update";
        if (!o.game) throw UsageError{std::string(mode) + " wymaga --game"};
        if (!o.commands.empty())
            throw UsageError{std::string(mode) + " działa na całym pliku wyników: bez wyszukiwań"};
        return o;
    }
    if (given(o, "--ticket")) {
        if (!o.game) throw UsageError{"--ticket wymaga --game"};
        const TicketNumbers ticket = parseTicket(o.ticketText, o.game->rules);
        if (!ticket.error.empty()) throw UsageError{"--ticket: " + ticket.error};
        o.ticket = ticket.numbers;
        return o;
    }
    checkSearches(o);
    return o;
}

int threadsOf(const Options& o) {
    return o.threads > 0 ? o.threads : machineThreads();
}

std::string samplePath(const GameRow& game, const std::string& programDir) {
    const char* fileName = game.historyFileUtf8;
    const std::string folder = programDir.empty() ? "." : programDir;
    const std::string folders[] = {folder, folder + "/../share/zestawy"};
    for (const std::string& f : folders)
        if (fileExists(f + "/" + fileName)) return f + "/" + fileName;
    return folders[0] + "/" + fileName;
}

}  // namespace zestawy::cli
