// Csv: a header line, then the rows.
#include "tools/zarvoth-waves/Csv.h"

#include <string_view>

#include "game/SpriteTable.h"

namespace waves {
namespace {

template <class Table>
void WriteRows(std::ostream& out, std::string_view name, const Table& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& e = table[i];
        out << name << ',' << i << ',' << e.Distance << ',' << e.Class.ClassName() << ',' << e.X << ',' << e.Y << '\n';
    }
}

}  // namespace

void WriteCsv(std::ostream& out) {
    out << "table,index,distance,class,x,y\n";
    WriteRows(out, "wave", SpriteTable::WaveTable);
    WriteRows(out, "special", SpriteTable::SpecialTable);
}

}  // namespace waves
