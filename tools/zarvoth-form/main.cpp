// zarvoth-form: writes the main window's design-time description (TForm1 and its components
// with their design values and the two cursor pictures) as a resource, at build time.
// Usage: zarvoth-form OUTPUT
#include <cstdio>
#include <exception>
#include <fstream>

#include "FormDesign.h"
#include "engine/assets/ObjectWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarvoth-form OUTPUT\n");
        return 2;
    }
    try {
        FormDesign::TForm1Design form;
        TMemoryStream stream;
        WriteComponentResource(stream, form, "TFORM1");
        std::ofstream file(argv[1], std::ios::binary);
        file.write(reinterpret_cast<const char*>(stream.Data().data()), static_cast<std::streamsize>(stream.Size()));
        if (!file) {
            std::fprintf(stderr, "zarvoth-form: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zarvoth-form: %s\n", error.what());
        return 1;
    }
    return 0;
}
