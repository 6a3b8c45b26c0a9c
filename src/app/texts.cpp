#include "app/texts.hpp"

#include <algorithm>
#include <string>

#include "commands/games.hpp"
#include "commands/wheel_text.hpp"

const char kWindowTitle[] = "Program wyszukujący liczb które najdłużej nie wypadły.";
const char kWindowClassName[] = "WindowClass";

namespace {

// One row of the table of odds at the end of the help text.
struct Odds {
    int hit, played, every;
    const char* drawsWord;  // "losowań,"; three rows read "losowańa,"
    int waitAtLeast;
};

const Odds kOdds[] = {
    {2, 2, 16, "losowań,", 100},   {2, 3, 7, "losowań,", 50},      {3, 4, 23, "losowańa,", 250},
    {4, 4, 326, "losowań,", 3500}, {3, 5, 11, "losowań,", 100},    {4, 5, 80, "losowań,", 1000},
    {4, 6, 35, "losowań,", 400},   {5, 6, 323, "losowańa,", 4000}, {5, 7, 115, "losowań,", 1200},
    {5, 8, 54, "losowańa,", 700},
};

const char* const kHelpLines[] = {
    "",
    "       Uzupełnianie wyników w plikach o nazwie Multi Multi wyniki losowań, Mini lotto wyniki "
    "losowań i",
    "       Lotto wyiki losowań",
    "  Pliki z wynikami losowań trzech gier leżą w folderze programu. Po każdym losowaniu dopisz "
    "na końcu ",
    "  pliku danej gry nowy wiersz, w takim samym układzie jak wcześniejsze losowania: numer "
    "losowania ",
    "  z kropką, spacja, data, spacja i wylosowane liczby oddzielone przecinkami, na przykład ",
    "  7395. 22.08.2026 3,11,19,27,35,42",
    "  Najstarsze losowanie jest w pierwszym wierszu pliku, najnowsze w ostatnim. ",
    "  Następnie z menu Plik wybierz Przygotuj wyszukiwanie i wybierz grę liczbową: ",
    "  - dla gry liczbowej Multi Multi klikamy przycisk Multi Multi",
    "  - dla gry liczbowej Mini Lotto klikamy przycisk Mini Lotto",
    "  - dla gry liczbowej Lotto klikamy przycisk Lotto",
    "",
    "    Wyszukiwanie najdłużej oczekiwanych zestawów liczb na przykładzie gry liczbowej Multi "
    "Multi",
    "  W polu pod napisem Wpisz ile losowań ma być przeszukanych wpisujemy liczbę ostatnich "
    "losowań, ",
    "  na przykład 100, i klikamy przycisk Wczytaj. W polu Data losowania pojawią się numery i "
    "daty ",
    "  tych losowań, a w polu Wylosowane liczby ich wylosowane liczby, jedno losowanie w wierszu. ",
    "  Teraz klikamy przycisk Wyszukaj 2. W polu Najdłużej oczekiwane zestawy pojawi się para "
    "liczb, ",
    "  która nie wypadła razem w żadnym z wczytanych losowań. Jeśli takiej pary nie ma, program ",
    "  napisze, że wszystkie pary wystąpiły. ",
    "  Kolejne kliknięcia tego samego przycisku dopisują wynik pod poprzednimi. Przyciski Zapisz ",
    "  znalezione i Otwórz znalezione zapisują znalezione zestawy do pliku tekstowego i wczytują "
    "je ",
    "  z powrotem. ",
    "  Zanim zaczniemy inny rodzaj wyszukiwania, klikamy przycisk Wyczyść: opróżnia on wszystkie "
    "pola ",
    "  i z powrotem udostępnia przyciski wyszukiwania. Potem znów wczytujemy losowania. ",
    "  Przycisk Wyszukaj 3 z 4 szuka czwórek liczb, z których żadne trzy nie wypadły razem, "
    "przycisk ",
    "  Wyszukaj 4 z 5 piątek, z których żadne cztery nie wypadły razem, i tak dalej. ",
    "",
    "                                      Co nam daje wyszukiwanie zestawów liczb",
    "  Każdy zestaw liczb wypada średnio co pewną liczbę losowań. Para liczb w Multi Multi trafia ",
    "  średnio co 16 losowań, więc para, która nie wypadła od ponad 100 losowań, czeka wyjątkowo ",
    "  długo. Program pokazuje dokładnie takie zestawy: wszystkie, które nie wypadły w wybranej ",
    "  liczbie ostatnich losowań. ",
    "  Znalezione zestawy można łączyć w większe: na przykład dwie pary, które nie wypadły od "
    "dawna, ",
    "  dają czwórkę do gry 2 z 4, a kilka znalezionych trójek można złożyć w zakład na więcej "
    "liczb. ",
    "  Im więcej losowań przeszukamy, tym mniej zestawów zostanie i tym dłużej każdy z nich "
    "czeka. ",
    "  Pamiętaj, że losowania są niezależne: program pokazuje historię, a nie przyszłe wyniki. ",
    "",
    "          Poniżej prawdopodobienstwo wypadnięcia zestawów liczb które wyszukuje program.",
};

// After the described text and its table: the parts added since.
const char* const kMoreHelpLines[] = {
    "",
    "                                      Ranking oczekiwania",
    "  Z menu Analiza wybierz Ranking oczekiwania. Wybierz grę, wyszukiwanie (np. Wyszukaj 2) i ",
    "  liczbę losowań (puste pole: cała historia), a potem kliknij Pokaż. Tabela pokazuje "
    "zestawy, ",
    "  które czekają najdłużej: ile losowań czekają i w którym losowaniu wypadły ostatnio. Kupon ",
    "  obok pokazuje, ile losowań czeka każda liczba; kliknięcie liczby pokazuje jej pary. ",
    "  Przerwij zatrzymuje liczenie, Zapisz ranking zapisuje tabelę do pliku tekstowego. ",
    "  Wiersz nad tabelą mówi, jak często taki zestaw wypada średnio i jak długo najdłużej ",
    "  czekający zestaw czekałby przy samym przypadku (zwykle: w 90 przypadkach na 100, i ",
    "  mediana). Losowania są niezależne: długie czekanie nie zwiększa szansy zestawu. ",
    "",
    "                                      Sprawdź swoje liczby",
    "  Z menu Analiza wybierz Sprawdź swoje liczby. Wybierz grę, wpisz swoje liczby (np. 3, 17, "
    "22) ",
    "  albo kliknij je na kuponie i kliknij Sprawdź. Tabela pokazuje, w ilu losowaniach padło ",
    "  tyle z nich, ile daje sam przypadek (średnio i zwykle, w 90 historiach na 100), oraz ",
    "  ostatnie takie losowanie. Wiersz pod tabelą mówi najpierw, czy wszystkie liczby razem ",
    "  padały częściej lub rzadziej, niż daje przypadek. Kupon pokazuje, ile losowań czeka ",
    "  każda liczba. ",
    "",
    "                                      Czy czekanie pomaga?",
    "  Z menu Analiza wybierz Czy czekanie pomaga. Przed każdym losowaniem historii każdy zestaw ",
    "  czeka już jakiś czas; program dzieli zestawy na grupy według tego, ile razy dłużej od ",
    "  średniej przerwy czekały, i liczy, jak często każda grupa potem się pojawiła. Wykres ",
    "  pokazuje odsetek każdej grupy z 95% przedziałem i linię samego przypadku. Gdyby czekanie ",
    "  pomagało, słupki długo czekających stałyby wyżej. Zdanie pod wykresem zaczyna od ",
    "  wniosku. Ocenia tylko grupy, w których przypadek daje co najmniej 10 pojawień, i mówi, ",
    "  w ilu z 40 symulowanych historii niezależnych losowań sam przypadek wyrzuca choć jedną ",
    "  grupę poza jej zakres: jedna taka grupa nie jest jeszcze odkryciem. W dołączonych ",
    "  historiach czekanie nie pomogło. Przerwij zatrzymuje liczenie. ",
    "",
    "                                      System skrócony",
    "  Z menu Analiza wybierz System skrócony. Wybierz grę i wpisz swoje liczby (w Lotto i Mini ",
    "  Lotto do 30, w Multi Multi do 40), kliknij je na kuponie albo weź je przyciskiem Z ",
    "  rankingu (zaznaczone zestawy rankingu, a bez zaznaczenia zestawy od góry, póki się ",
    "  mieszczą) lub Ze sprawdzania (liczby z ekranu Sprawdź swoje liczby). W Multi Multi "
    "wybierz, ",
    "  ile liczb ma zakład. Wybierz gwarancję, np. 3 z 4: gdy 4 z wylosowanych liczb są wśród ",
    "  twoich, któryś zakład ma co najmniej 3 z nich. Kliknij Ułóż: program poda najmniej ",
    "  zakładów, jakie zna (z tabeli dołączonej do programu od razu, inaczej z kilkusekundowego ",
    "  poszukiwania, które Przerwij zatrzymuje z najlepszym dotąd systemem), i sprawdza każdy ",
    "  system na wszystkich możliwych losowaniach. Koszt liczy z ceny zakładu w polu Cena ",
    "  zakładu; domyślnie @: wpisz cenę ze ",
    "  swojego kuponu, jeśli jest inna. Tabela gwarancji mówi, ile trafień najlepszy zakład ma ",
    "  na pewno przy każdej liczbie wylosowanych spośród twoich, i jak często tak bywa. Sprawdź ",
    "  na historii liczy, ile trafień miał najlepszy zakład w każdym losowaniu, obok tego, co ",
    "  daje sam przypadek. Zapisz zakłady zapisuje zakład w wierszu (.txt) albo tabelę dla ",
    "  arkusza (.csv). System nie zmienia szansy żadnego zakładu: tylko rozkłada zakłady po ",
    "  twoich liczbach, a gwarancja działa tylko wtedy, gdy padnie dość twoich liczb. ",
    "",
    "                                      Klawiatura na ekranach Analizy",
    "  Tab i Shift+Tab przechodzą między polami i przyciskami. Enter w polu uruchamia ekran ",
    "  (Pokaż, Sprawdź, Policz, Ułóż), Enter na przycisku go naciska, a Esc w czasie liczenia ",
    "  przerywa je. Po oknie dialogowym kursor wraca tam, gdzie był. ",
    "",
    "                                      Uzupełnianie wyników z pobranego pliku",
    "  Z menu Plik wybierz Uzupełnij wyniki losowań i wskaż pobrany plik z wynikami jednej gry. ",
    "  Program dopisuje do pliku wyników tej gry każde losowanie, którego w nim brak, a plik, ",
    "  który by zepsuł historię (inne liczby pod tym samym numerem, daty nie po kolei, ani ",
    "  jednego wspólnego losowania), odrzuca bez zmian. Ostatni wiersz pobranego pliku bez ",
    "  końca wiersza pomija, bo mógł zostać ucięty. ",
    "  Pliki wyników program znajduje w folderze, z którego go uruchomiono, a gdy ich tam nie ma, ",
    "  w swoim własnym folderze. ",
    "",
    "                                      Pobieranie najnowszych wyników",
    "  Z menu Plik wybierz Pobierz najnowsze wyniki. Program pobiera z internetu wyniki trzech ",
    "  gier, jedną po drugiej, i dopisuje nowe losowania tak samo jak Uzupełnij wyniki losowań. ",
    "  Przerwij zatrzymuje pobieranie: gra, która już się uzupełniła, zostaje uzupełniona, a ",
    "  plik gry w toku zostaje bez zmian. Gry, której pliku wyników nigdzie nie ma, program ",
    "  zakłada nowy plik obok siebie. Na koniec okienko mówi, ile losowań dopisano każdej ",
    "  grze. Adresy można zmienić w pliku zrodla.txt w folderze, z którego uruchomiono ",
    "  program, albo obok programu (najpierw tam, gdzie jest; tak samo zestawy-cli), wierszami ",
    "  multi = adres, mini = adres, lotto = adres. Program łączy się z internetem tylko wtedy. ",
};

std::string joinLines(const char* const* lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines[i];
        text += "\r\n";
    }
    return text;
}

std::string buildHelpText() {
    std::string text = joinLines(kHelpLines, sizeof kHelpLines / sizeof kHelpLines[0]);
    for (const Odds& odds : kOdds) {
        std::string first = "  Trafienie " + std::to_string(odds.hit) + " liczb z " +
                            std::to_string(odds.played) + " skreślonych wypada średnio co " +
                            std::to_string(odds.every) + " " + odds.drawsWord +
                            " najlepiej wyszukiwać i puszczać";
        std::string second = "  zestawy które nie wypadły więcej jak " +
                             std::to_string(odds.waitAtLeast) + " losowań.";
        // The entries stand as a table of lines of 100 characters.
        first.resize(std::max<std::size_t>(first.size(), 100), ' ');
        second.resize(std::max<std::size_t>(second.size(), 100), ' ');
        text += first + "\r\n" + second + "\r\n";
    }
    text += joinLines(kMoreHelpLines, sizeof kMoreHelpLines / sizeof kMoreHelpLines[0]);
    // The prices a reduced system is costed at, as the games' table has them.
    std::string prices;
    for (const zestawy::GameRow& game : zestawy::kGames)
        prices.insert(0, std::string(game.name) + " " + zestawy::zloty(game.ticketPrice) +
                             (prices.empty() ? "" : ", "));
    const std::size_t at = text.find('@');
    return at == std::string::npos ? text : text.replace(at, 1, prices);
}

const char* const kAboutLines[] = {
    "",
    "   Program wyszukujący w grach liczbowych takich jak Multi Multi, Mini lotto i lotto zestawy "
    "liczb.",
    "   które nie wypadły przez najdłuższy okres losowań",
    "                         Wyniki wyszukiwania opisują przeszłe losowania i nie gwarantują "
    "wygranej.",
    "",
    "",
    "   Aby uruchomić wyszukiwanie zestawów liczb w lewym górnym rogu ekrany klliknij pozycję Plik",
    "   i z rozwiniętego menu wybierz pozycję Przygotuj wyszukiwanie wedy pojawią się pola "
    "edycyjne",
    "   i przyciski z wyborem gier liczbowych w których chcemy wyszukiwać zestawy liczb.",
    "",
    "",
    "",
    "",
    "                                        Najdłużej oczekiwane zestawy, wersja 1.0",
    "                                 Program sprawdza każdy możliwy zestaw liczb, dokładnie.",
};

}  // namespace

const char* helpText() {
    static const std::string text = buildHelpText();
    return text.c_str();
}

const char* aboutText() {
    static const std::string text = [] {
        std::string t = joinLines(kAboutLines, sizeof kAboutLines / sizeof kAboutLines[0]);
        t.resize(t.size() - 2);  // lines are separated, not terminated
        return t;
    }();
    return text.c_str();
}
