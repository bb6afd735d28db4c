# cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=name -P embed_bytes.cmake
# Writes a C++ source whose function returns the file's bytes.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Made by the build from ${INPUT}; do not edit.\n"
  "#include <span>\n\n"
  "namespace lumvrex {\nnamespace {\nconst unsigned char kBytes[] = {\n    ${bytes}\n};\n}\n\n"
  "std::span<const unsigned char> ${FUNCTION}()\n{\n    return kBytes;\n}\n\n} // namespace lumvrex\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
