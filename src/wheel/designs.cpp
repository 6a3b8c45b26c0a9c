#include "wheel/designs.hpp"

#include <cstdlib>
#include <sstream>

#include "wheel/subsets.hpp"

namespace zestawy {

namespace {

// "v=12 k=6 m=3 t=3", or false.
bool readHeader(const std::string& line, WheelShape& shape) {
    char rest = 0;
    std::istringstream in(line);
    std::string v, k, m, t;
    if (!(in >> v >> k >> m >> t) || (in >> rest)) return false;
    auto value = [](const std::string& field, char name, int& into) {
        if (field.size() < 3 || field.size() > 4 || field[0] != name || field[1] != '=')
            return false;
        if (field.find_first_not_of("0123456789", 2) != std::string::npos) return false;
        into = std::atoi(field.c_str() + 2);
        return true;
    };
    return value(v, 'v', shape.v) && value(k, 'k', shape.k) && value(m, 'm', shape.m) &&
           value(t, 't', shape.t) && wheelShapeValid(shape);
}

// A ticket of k numbers 1..v, or why not.
std::string readTicket(const std::string& line, const WheelShape& shape, WheelMask& ticket) {
    ticket = 0;
    int count = 0;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ' || line[at] == ',' || line[at] == '\t' || line[at] == '\r') {
            ++at;
            continue;
        }
        const std::size_t end = line.find_first_not_of("0123456789", at);
        if (end == at) return "znak, który nie jest liczbą";
        const std::string number = line.substr(at, end - at);
        const int n = number.size() > 2 ? 0 : std::atoi(number.c_str());
        if (n < 1 || n > shape.v) return "liczba " + number + " spoza 1-" + std::to_string(shape.v);
        if (ticket >> (n - 1) & 1) return "liczba " + number + " dwa razy";
        ticket |= WheelMask{1} << (n - 1);
        ++count;
        at = end == std::string::npos ? line.size() : end;
    }
    if (count != shape.k)
        return "zakład ma " + std::to_string(count) + " liczb zamiast " + std::to_string(shape.k);
    return "";
}

bool sameShape(const WheelShape& a, const WheelShape& b) {
    return a.v == b.v && a.k == b.k && a.m == b.m && a.t == b.t;
}

}  // namespace

DesignsRead readDesigns(std::string_view text) {
    DesignsRead read;
    std::istringstream lines{std::string(text)};
    bool inSystem = false;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "tabela systemów, wiersz " + std::to_string(number) + ": ";
        if (!line.empty() && line[0] == '#') continue;
        if (line.find_first_not_of(" \t") == std::string::npos) {
            inSystem = false;
            continue;
        }
        if (!inSystem) {
            WheelDesign design{};
            if (!readHeader(line, design.shape)) {
                read.error = where + "oczekiwano nagłówka \"v=12 k=6 m=3 t=3\"";
                return read;
            }
            if (findDesign(read.designs, design.shape)) {
                read.error = where + "drugi system tych samych parametrów";
                return read;
            }
            read.designs.push_back(design);
            inSystem = true;
            continue;
        }
        WheelMask ticket = 0;
        const std::string wrong = readTicket(line, read.designs.back().shape, ticket);
        if (!wrong.empty()) {
            read.error = where + wrong;
            return read;
        }
        read.designs.back().tickets.push_back(ticket);
    }
    for (const WheelDesign& design : read.designs)
        if (design.tickets.empty()) read.error = "tabela systemów: system bez zakładów";
    return read;
}

const std::vector<WheelDesign>& shippedDesigns() {
    static const std::vector<WheelDesign> designs = readDesigns(shippedDesignsText()).designs;
    return designs;
}

const WheelDesign* findDesign(const std::vector<WheelDesign>& designs, const WheelShape& shape) {
    for (const WheelDesign& design : designs)
        if (sameShape(design.shape, shape)) return &design;
    return nullptr;
}

}  // namespace zestawy
