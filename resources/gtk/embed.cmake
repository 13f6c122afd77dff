# Writes OUTPUT, a C++ file defining the byte array NAME with the contents of INPUT.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}.\n#include <cstddef>\n\nnamespace orvane::resources {\n"
  "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n"
  "const unsigned char ${NAME}[] = {\n  ${bytes}0};\n"
  "const std::size_t ${NAME}Size = sizeof ${NAME} - 1;\n}  // namespace orvane::resources\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
