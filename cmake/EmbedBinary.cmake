# Turns a binary file into a C++ source defining a byte array and an accessor.
# cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=Name -DHEADER=game/X.h -P EmbedBinary.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT} at build time. Do not edit.\n#include \"${HEADER}\"\n\nnamespace {\nconst std::uint8_t Bytes[${size}] = {${bytes}};\n}  // namespace\n\nstd::span<const std::uint8_t> ${FUNCTION}() {\n    return {Bytes, sizeof Bytes};\n}\n")
