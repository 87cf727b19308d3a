// zarvoth-waves: the game's wave and special-ship schedules for the people who shape them —
// `csv` prints both tables, `chart FILE.png` draws them as one picture, over which
// `chart FILE.png HONEST.txt...` lays where honest games hit and lost their ships and prints the
// hardest places. Depends on Csv, Chart, Events and the platform's PNG writer.
#include <iostream>
#include <string>
#include <vector>

#include "platform/ImageFile.h"
#include "tools/zarvoth-waves/Chart.h"
#include "tools/zarvoth-waves/Csv.h"
#include "tools/zarvoth-waves/Events.h"

namespace {

constexpr int FailureStatus = 1;
constexpr int UsageStatus = 2;
constexpr std::size_t HardestShown = 5;

int Usage() {
    std::cerr << "usage: zarvoth-waves csv                            print both tables as CSV\n"
                 "       zarvoth-waves chart FILE.png [HONEST.txt...]   draw the schedule as a picture, with where\n"
                 "                                                    honest games hit and lost their ships\n";
    return UsageStatus;
}

int PrintCsv() {
    waves::WriteCsv(std::cout);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "zarvoth-waves: cannot write the CSV to the standard output\n";
        return FailureStatus;
    }
    return 0;
}

// One line per hardest place, for the terminal.
void PrintHardest(const std::vector<waves::HonestEvent>& honest) {
    for (const waves::Place& place : waves::HardestPlaces(honest, HardestShown)) {
        std::cout << "hard place " << place.From << " to " << place.From + waves::PlaceLength - 1 << ": " << place.Hits
                  << (place.Hits == 1 ? " hit, " : " hits, ") << place.Damage << " hull lost, " << place.Deaths
                  << (place.Deaths == 1 ? " ship" : " ships") << " lost\n";
    }
}

int WriteChart(const std::string& path, const std::vector<std::string>& honestFiles) {
    std::vector<waves::HonestEvent> honest;
    std::string error;
    for (const std::string& file : honestFiles) {
        if (!waves::ReadEvents(file, honest, error)) {
            std::cerr << "zarvoth-waves: " << error << '\n';
            return FailureStatus;
        }
    }
    if (!platform::SavePng(path, waves::DrawChart(honest), error)) {
        std::cerr << "zarvoth-waves: cannot write " << path << ": " << error << '\n';
        return FailureStatus;
    }
    PrintHardest(honest);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "csv" && argc == 2) {
        return PrintCsv();
    }
    if (command == "chart" && argc >= 3) {
        return WriteChart(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    }
    return Usage();
}
