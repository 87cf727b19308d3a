// Events: each line is read word by word and must end where its last number does.
#include "tools/zarvoth-waves/Events.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/zarvoth-waves/ChartLayout.h"

namespace waves {
namespace {

constexpr int MaxDamage = 1000000;

// One event from a line that is neither blank nor a comment; false if it is not one.
bool ParseEvent(const std::string& line, HonestEvent& event) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    event = HonestEvent{};
    event.Died = word == "died";
    if (!event.Died && word != "hit") return false;
    if (!(in >> event.Distance >> event.X)) return false;
    if (!event.Died && !(in >> event.Damage)) return false;
    in >> std::ws;
    return in.eof() && event.Distance >= 0 && event.Distance < Bands * BandLength && event.X >= 0 &&
           event.X <= ScreenWidth && (event.Died || (event.Damage > 0 && event.Damage <= MaxDamage));
}

}  // namespace

bool ReadEvents(const std::string& path, std::vector<HonestEvent>& events, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        HonestEvent event;
        if (!ParseEvent(line, event)) {
            error = path + ":" + std::to_string(number) + ": not \"hit DISTANCE X DAMAGE\" or \"died DISTANCE X\" with " +
                    "a distance below " + std::to_string(Bands * BandLength) + " and x from 0 to " +
                    std::to_string(ScreenWidth);
            return false;
        }
        events.push_back(event);
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

std::vector<Place> Places(const std::vector<HonestEvent>& events) {
    std::map<int, Place> places;
    for (const HonestEvent& e : events) {
        const int from = e.Distance / PlaceLength * PlaceLength;
        Place& place = places.try_emplace(from, Place{from, 0, 0, 0}).first->second;
        place.Hits += !e.Died;
        place.Damage += e.Damage;
        place.Deaths += e.Died;
    }
    std::vector<Place> ordered;
    for (const auto& [from, place] : places) ordered.push_back(place);
    return ordered;
}

std::vector<Place> HardestPlaces(const std::vector<HonestEvent>& events, std::size_t count) {
    std::vector<Place> hardest = Places(events);
    std::stable_sort(hardest.begin(), hardest.end(), [](const Place& a, const Place& b) {
        return a.Deaths != b.Deaths ? a.Deaths > b.Deaths : a.Damage > b.Damage;
    });
    hardest.resize(std::min(hardest.size(), count));
    return hardest;
}

}  // namespace waves
