// Fuzz target for the asset reader: any byte string is offered as a graphics file and as a sound
// file; it must load or be refused with an engine error, never misbehave. What loads is written
// back and read again, which exercises the writer on every decoded picture and wave.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"

namespace {

template <typename Collection>
void LoadAndRewrite(const std::uint8_t* data, std::size_t size) {
    Collection list;
    TMemoryStream input(std::vector<std::uint8_t>(data, data + size));
    try {
        list.LoadFromStream(input);
    } catch (const Exception&) {
        return;
    }
    TMemoryStream output;
    list.SaveToStream(output);
    output.Seek(0);
    Collection again;
    again.LoadFromStream(output);  // what the writer makes must read back
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadAndRewrite<TPictureCollection>(data, size);
    LoadAndRewrite<TWaveCollection>(data, size);
    return 0;
}
