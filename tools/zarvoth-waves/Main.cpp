// zarvoth-waves: the game's wave and special-ship schedules for the people who shape them —
// `csv` prints both tables, `chart FILE.png` draws them as one picture. Depends on Csv, Chart
// and the platform's PNG writer.
#include <iostream>
#include <string>

#include "platform/ImageFile.h"
#include "tools/zarvoth-waves/Chart.h"
#include "tools/zarvoth-waves/Csv.h"

namespace {

constexpr int FailureStatus = 1;
constexpr int UsageStatus = 2;

int Usage() {
    std::cerr << "usage: zarvoth-waves csv              print both tables as CSV\n"
                 "       zarvoth-waves chart FILE.png   draw the schedule as a picture\n";
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

int WriteChart(const std::string& path) {
    std::string error;
    if (!platform::SavePng(path, waves::DrawChart(), error)) {
        std::cerr << "zarvoth-waves: cannot write " << path << ": " << error << '\n';
        return FailureStatus;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "csv" && argc == 2) {
        return PrintCsv();
    }
    if (command == "chart" && argc == 3) {
        return WriteChart(argv[2]);
    }
    return Usage();
}
