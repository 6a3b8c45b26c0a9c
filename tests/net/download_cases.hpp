// What the download tests of the tool and of the window share: a results
// server's answers (the three games' files, and a fault at each other path)
// and what each fault makes of Multi Multi's line of the summary.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "net/results_server.hpp"

namespace zestawy::nettest {

// The files of tests/data/downloads (their folder, with its separator, in
// `downloads`) by their names, and the faults.
inline std::map<std::string, Answer> downloadAnswers(const std::string& downloads) {
    std::map<std::string, Answer> answers;
    for (const char* csv : {"multi_multi.csv", "mini_lotto.csv", "lotto.csv"})
        answers["/" + std::string(csv)] = {Answer::Whole, fileText(downloads + csv)};
    const std::string multi = answers["/multi_multi.csv"].body;
    std::string conflicting = multi;
    conflicting.replace(conflicting.find(",18.03.1996,"), 12, ",19.03.1996,");
    answers["/przeniesiony.csv"] = {Answer::Redirect, "/multi_multi.csv"};
    answers["/inna-gra.csv"] = answers["/lotto.csv"];
    answers["/sprzeczny.csv"] = {Answer::Whole, conflicting};
    answers["/stoi.csv"] = {Answer::Stall, multi};
    answers["/urwany.csv"] = {Answer::CutShort, multi};
    answers["/bez-konca.csv"] = {Answer::Endless, multi};
    answers["/blad.csv"] = {Answer::Whole, "awaria", 500};
    answers["/pusty.csv"] = {Answer::Whole, ""};
    answers["/w-kolko.csv"] = {Answer::Redirect, "/w-kolko.csv"};
    // Cut in the middle of its last line's numbers, with no line end after.
    answers["/uciety.csv"] = {Answer::Whole, multi.substr(0, multi.size() - 5)};
    return answers;
}

struct Fault {
    std::string path;  // of Multi Multi's source; "" for an address where nothing listens
    bool ok;           // the summary tells of no failure
    std::string said;  // the start of Multi Multi's part of the summary
    // Not 0: how many requests for the path the download makes, and makes
    // no more once it has ended.
    int requests = 0;
    bool https = false;     // asked for by https (of a server of plain http)
    std::string also = "";  // a further part of the summary
};

// Multi Multi's source of a fault.
inline std::string faultUrl(const ResultsServer& server, const Fault& fault) {
    if (fault.path.empty()) return ResultsServer::refusedUrl();
    const std::string url = server.url(fault.path);
    return fault.https ? "https" + url.substr(4) : url;
}

// With the other two games' histories whole, each of them has "nic nowego".
// The time limit is 1 s.
inline std::vector<Fault> downloadFaults(const ResultsServer& server) {
    return {
        {"/przeniesiony.csv", true, "nic nowego"},
        {"/brak.csv", false,
         "nie udało się pobrać (serwer odpowiedział HTTP 404, nie ma tam takiego pliku)"},
        {"/blad.csv", false, "nie udało się pobrać (serwer odpowiedział HTTP 500)"},
        {"", false, "nie udało się pobrać (brak połączenia z serwerem 127.0.0.1)"},
        {"/stoi.csv", false, "nie udało się pobrać (przekroczony czas: 1 s bez danych)"},
        {"/urwany.csv", false, "nie udało się pobrać (połączenie zerwane przed końcem pliku)"},
        {"/bez-konca.csv", false, "nie udało się pobrać (plik ma ponad 64 MB)"},
        {"/inna-gra.csv", false,
         "nic nie zapisano\n    Pobrany plik nie zawiera losowań gry Multi Multi"},
        {"/sprzeczny.csv", false, "nic nie zapisano\n    "},
        {"/pusty.csv", false, "nie udało się pobrać (serwer nie przysłał żadnych danych)"},
        {"/uciety.csv", true, "nic nowego\n", 0, false,
         "\n    Uwaga: ostatni wiersz pobranego pliku (wiersz 16962: „16978,22.08.2026,14:00,05,"
         "07,16,23,24,25,33,36,37,43,44,45,58,60,61,62,64,71,77,7”) nie kończy się końcem "
         "wiersza; pominięty, bo mógł zostać ucięty.\n"},
        {"/w-kolko.csv", false,
         "nie udało się pobrać (za dużo przekierowań (ponad 5) z " + server.url("/w-kolko.csv") +
             ")",
         6},
        {"/multi_multi.csv", false,
         "nie udało się pobrać (nie można nawiązać bezpiecznego połączenia https z serwerem "
         "127.0.0.1 (kod ",
         0, true},
    };
}

// zrodla.txt with Multi Multi's source at `multi` and the others' files.
inline std::string sourcesText(const ResultsServer& server, const std::string& multi) {
    return "# z serwera testu\nmulti = " + multi + "\nmini = " + server.url("/mini_lotto.csv") +
           "\nlotto = " + server.url("/lotto.csv") + "\nczas = 1\n";
}

}  // namespace zestawy::nettest
